#pragma once

#include <QDialog>
#include <cstdint>
#include <memory>
#include <optional>

#include "graph/OutputOptions.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/UpDownArrows.h"

struct FrameFields;
class Prompts;
class QPrinter;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

// The output options dialog: asks for the JPEG quality before a graph is saved, or for the printed
// size before it is printed. Created once and reused through AskJpegQuality() and AskPrintSize().
// The dialog owns the frame's SaveCancelled and PrintCancelled: those two calls clear the flag they
// answer before showing the dialog, every way of closing it inverts both flags and only "Ok" sets
// them first, so only "Ok" leaves the flag cleared. The results also stay in the frame's
// JpegQuality, PrintWidth and PrintHeight.
class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(Prompts& questions, FrameFields& fields, QPrinter& printer, QWidget* parent = nullptr);

  bool PrintMode = false;
  int32_t PictureWidth = 0, PictureHeight = 0;
  int32_t PaperWidth = 0, PaperHeight = 0;

  // The quality for a JPEG file, or nothing when the user cancelled.
  std::optional<int> AskJpegQuality();
  // The printed size of a picture on a page (both in pixels), or nothing when the user cancelled.
  std::optional<PrintSize> AskPrintSize(int32_t pictureWidth, int32_t pictureHeight,
                                        int32_t paperWidth, int32_t paperHeight);

  // Shows the dialog modally in the mode and sizes set above, the cancel flags as they stand.
  int ShowModal();

  QPushButton* Button1;  // Ok
  QPushButton* Button2;  // Abbrechen
  QPushButton* Button3;  // Drucker Setup
  QPushButton* Button4;  // Hilfe
  QFrame* Panel1;
  QFrame* Panel2;
  QSlider* TrackBar1;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QRadioButton* RadioButton3;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  UpDownArrows* UpDown1;
  QCheckBox* CheckBox1;

 signals:
  // "Drucker Setup": the frame's printer set-up runs before the signal returns.
  void PrinterSetupWanted();

 public slots:
  void FormShow();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Edit1Enter();
  void Edit2Enter();  // also Edit3's
  void Edit1Exit();
  void Edit2Exit();
  void Edit3Exit();
  void UpDown1Click();
  void RadioButton3Click();
  void CheckBox1Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void BuildPanel1();
  void BuildPanel2();
  void BuildButtons();
  void FormCloseQuery();
  bool FormKeyDown(int key);
  void FocusChanged(QWidget* old, QWidget* now);
  void FinishFocusedEdit();
  PrintSizeFields ReadFields() const;
  void ShowFields(const PrintSizeFields& fields);
  template <typename Rule>
  void Apply(Rule rule);

  Prompts& questions_;
  FrameFields& fields_;
  QPrinter& printer_;
  std::unique_ptr<FieldExits> exits_;
};
