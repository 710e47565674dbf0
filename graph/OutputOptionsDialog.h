#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

#include "graph/OutputOptions.h"

class FrameCommands;
class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QToolButton;

// Up and down arrows with a position of their own, not tied to any edit field.
class UpDownArrows : public QWidget {
 public:
  UpDownArrows(QWidget* parent, int32_t min, int32_t max, int32_t position);

  int32_t Position() const { return position_; }
  void SetPosition(int32_t position);
  void Step(int32_t delta);  // stops at the ends, no wrap

  std::function<void()> OnClick;
  QToolButton* Up;
  QToolButton* Down;

 private:
  int32_t min_, max_, position_;
};

// The output options dialog: asks for the JPEG quality before a graph is saved, or for the printed
// size before it is printed. Created once and reused; the caller sets PrintMode (and in print mode
// the four sizes), clears its cancel flag in the frame's fields and shows the dialog modally. Only
// "Ok" leaves that flag cleared; the results go to the frame's JpegQuality, PrintWidth,
// PrintHeight.
class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(FrameCommands& frame, QWidget* parent = nullptr);

  bool PrintMode = false;
  int32_t PictureWidth = 0, PictureHeight = 0;
  int32_t PaperWidth = 0, PaperHeight = 0;

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

  FrameCommands& frame_;
};
