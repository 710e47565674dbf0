#pragma once

#include <QString>
#include <cstdint>

#include "platform/ChildForm.h"
#include "platform/StandardMenus.h"
#include "project/ProjectDocument.h"

class FrameCommands;
class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QRadioButton;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QWidget;

// The project editor: a child window that shows one ProjectDocument and keeps it in step with every
// edit at once, so the renderer and the value-table builder can read the document while the window
// is open. Caption and DateiName hold paths in the file system's encoding; every other text is
// Windows-1252, as in the project file.
class TMDIChild : public ChildForm {
  Q_OBJECT
 public:
  explicit TMDIChild(FrameCommands& frame);
  ~TMDIChild() override;

  QMenuBar* MainMenu1() const override { return menus_.Bar; }
  const ProjectDocument& Document() const { return document_; }

  // Shows fileName as the caption; for an existing file reads it. Errors of reading are reported in
  // the error box and leave the window open as far as it got.
  void OpenProject(const QString& fileName, bool isNew);

  // The controls, under the names the help pages and the tests use.
  QWidget* Panel1;
  QTreeWidget* ListView1;
  QToolButton* Button1;
  QToolButton* Button2;
  QWidget* Panel4;
  QWidget* Panel2;
  QWidget* Panel10;
  QWidget* Panel11;
  QWidget* Panel5;
  QStatusBar* StatusBar1;
  QLabel* DateiName;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
  QLabel *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17;
  QLabel *Label18, *Label19, *Label20, *Label21;
  QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;
  QLabel *Panel3, *Panel6, *Panel7, *Panel8;
  QToolButton *Button3, *Button4, *Button5, *Button6;
  QCheckBox *CheckBox1, *CheckBox2, *CheckBox3;
  QRadioButton *RadioButton1, *RadioButton2;
  QMenu* PopupMenu1;
  QAction* Funktionhinzufuegen1;  // context menu
  QAction* Funktionloeschen1;     // context menu
  QMenu* Funktion1;               // "Fun&ktion" of the window's menu
  QAction* Hinzufuegen1;
  QAction* Loeschen1;

 public slots:
  void SpeichernClick();
  void SpeichernunterClick();
  void Funktionsgrapherstellen1Click();
  void Wertetabelleanzeigen1Click();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  QWidget* CreateListArea(QWidget* parent);
  QWidget* CreateFunctionPanel(QWidget* parent);
  QWidget* CreateHintPanel(QWidget* parent);
  QWidget* CreateSettingsPanel(QWidget* parent);
  void CreateRangeSettings(QWidget* panel);
  void CreateMenus();
  void ConnectHandlers();
  void ConnectSettingsEdits();
  void LayoutPanels();
  void FormResize();

  void ShowDocument();
  void FillList();
  int SelectedIndex() const;
  void SelectEntry(int index);
  void SetRowTexts(int index);
  void SetModified() { document_.Modified = true; }
  void SetDeviationEnabled(bool enabled);
  void FocusEdit1();
  void ChooseColor(QLabel& swatch, int32_t& setting);

  void ListView1Change();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Button5Click();
  void Button6Click();
  void Edit1Change();
  void Edit3Change();
  void Edit1Exit();
  void Edit10Exit();
  void CheckBox1Click(bool checked);
  void CheckBox2Click(bool checked);
  void CheckBox3Click(bool checked);
  void RadioButton1Click(bool checked);
  void RadioButton2Click(bool checked);

  bool Save();
  bool SaveAs();
  bool SaveDataReporting();
  bool SettingsPassCheck();
  void SetCaption(const QString& caption);

  FrameCommands& frame_;
  ProjectDocument document_;
  StandardMenus menus_;
  QWidget* client_ = nullptr;
  uint32_t lastColor_ = 0;  // the colour dialog opens with the colour last chosen in it
  bool filling_ = false;    // the controls are being filled from the document
};

// The frame's "Neu" (isNew: an empty project captioned fileName) and "Öffnen" (fileName is the path
// of the project file to read; a path that does not exist opens an empty project under that name).
ChildForm* CreateProjectWindow(FrameCommands& frame, const QString& fileName, bool isNew);
