#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileStamp.h"
#include "project/ProjectDocument.h"
#include "ui/shell/ChildContext.h"
#include "ui/shell/ChildForm.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/RangeTexts.h"
#include "ui/shell/StandardMenus.h"

struct FrameFields;
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
class TQelParser;

// The project editor: a child window that shows one ProjectDocument and keeps it in step with every
// edit at once, so the renderer and the value-table builder can read the document while the window
// is open. Caption and DateiName hold paths in the file system's encoding; every other text is
// Windows-1252, as in the project file. Its commands "Graphen erstellen" and "Wertetabelle
// anzeigen" check the settings and then ask the frame, by signal, for the graph or the table.
class TMDIChild : public ChildForm {
  Q_OBJECT
 public:
  TMDIChild(const ChildContext& context, TQelParser& engine, FrameFields& fields);
  ~TMDIChild() override;

  QMenuBar* MainMenu1() const override { return menus_.Bar; }
  const ProjectDocument& Document() const { return document_; }

  // Shows fileName as the caption; for an existing file reads it. Errors of reading are reported in
  // the error box and leave the window open as far as it got.
  void OpenProject(const QString& fileName, bool isNew);

  // The controls, under the names the help pages and the tests use; every one also carries its
  // name as objectName(), so tests may find it with findChild<QLineEdit*>("Edit4") instead.
  // Frame of the window: the function list on the left, the right side, the status bar with the
  // project file's path.
  QWidget* Panel1;  // the list area
  QWidget* Panel4;  // the right side: Panel2 above Panel5
  QWidget* Panel2;  // holds Panel10 or, without a selected function, Panel11
  QStatusBar* StatusBar1;
  QLabel* DateiName;

  // The function list and its buttons "Funktion hinzufügen" (Button1) and "Funktion löschen"
  // (Button2).
  QTreeWidget* ListView1;
  QToolButton *Button1, *Button2;

  // The selected function (Panel10): the syntax hints (Label2, Label19, Label7, Label20, Label21),
  // the expression (Label3, Edit1), its colour (Label4, swatch Panel3, Button3) and its step width
  // (Label9, Edit3), its derivative curves "f′ zeichnen" (CheckBox4) and "f″ zeichnen"
  // (CheckBox5).
  QWidget* Panel10;
  QLabel *Label2, *Label19, *Label7, *Label20, *Label21, *Label3, *Label4, *Label9;
  QLineEdit *Edit1, *Edit3;
  QLabel* Panel3;
  QToolButton* Button3;
  QCheckBox *CheckBox4, *CheckBox5;

  // The hint shown without a selected function (Panel11).
  QWidget* Panel11;
  QLabel *Label1, *Label5;

  // The project's settings (Panel5). Colours: background (Label6, Panel6, Button4), axes
  // (CheckBox1, Panel7, Button5), grid (CheckBox2, Panel8, Button6) with its step width (Label8,
  // Edit2). Drawing mode (Label10, RadioButton1 point-wise, RadioButton2 line-wise) and the
  // deviation (CheckBox3, Edit10). Range (Label11): x from Edit4 to Edit5 (Label12), y from Edit6
  // to Edit7 (Label13). Output size (Label14): width Edit8 (Label15, Label17), height Edit9
  // (Label16, Label18).
  QWidget* Panel5;
  QLabel *Label6, *Label8, *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16;
  QLabel *Label17, *Label18;
  QLabel *Panel6, *Panel7, *Panel8;
  QToolButton *Button4, *Button5, *Button6;
  QCheckBox *CheckBox1, *CheckBox2, *CheckBox3;
  QRadioButton *RadioButton1, *RadioButton2;
  QLineEdit *Edit2, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;

  // Menus: the list's context menu and the window's "Fun&ktion" menu, each with "add" and
  // "delete".
  QMenu* PopupMenu1;
  QAction* Funktionhinzufuegen1;
  QAction* Funktionloeschen1;
  QMenu* Funktion1;
  QAction* Hinzufuegen1;
  QAction* Loeschen1;

 signals:
  // The project was written to this file.
  void ProjectSaved(const QString& path);
  // The settings passed the check: the frame draws the project or opens its value-table dialog.
  void GraphWanted();
  void ValueTableWanted();

 public slots:
  void SpeichernClick() override;
  void SpeichernunterClick();
  void Funktionsgrapherstellen1Click() override;
  void Wertetabelleanzeigen1Click() override;

  // Zooming from a graph window of this project types the new ranges into the range fields,
  // keeping the replaced ones for stepping back; true when the settings then pass the check,
  // whose message is shown otherwise. ZoomBack types back the ranges the last zoom replaced
  // (false without one). The frame draws the graph again.
  bool ZoomTo(const RangeTexts& ranges);
  bool ZoomBack();
  bool CanZoomBack() const { return !zoomHistory_.empty(); }
  RangeTexts RangeFields() const;

 protected:
  bool AskToClose() override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  static constexpr int kMinWidth = 724;
  static constexpr int kMinHeight = 440;

  void CreateControls();
  QWidget* CreateListArea(QWidget* parent);
  QWidget* CreateFunctionPanel(QWidget* parent);
  QWidget* CreateHintPanel(QWidget* parent);
  QWidget* CreateSettingsPanel(QWidget* parent);
  void CreateRangeSettings(QWidget* panel);
  void CreateMenus();
  void ConnectHandlers();
  std::vector<std::pair<QLineEdit*, std::string ProjectSettings::*>> SettingsEdits() const;
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
  // CheckBox4 and CheckBox5: a derivative curve of the selected function on or off.
  void DerivativeClick(bool FunctionEntry::*curve, bool checked);
  void RadioButton1Click(bool checked);
  void RadioButton2Click(bool checked);

  bool Save();
  bool SaveAs();
  bool SaveDataReporting();
  bool SettingsPassCheck();
  void SetCaption(const QString& caption);
  void SetRangeFields(const RangeTexts& ranges);

  ChildContext context_;
  TQelParser& engine_;
  FrameFields& fields_;
  ProjectDocument document_;
  StandardMenus menus_;
  QWidget* client_ = nullptr;
  uint32_t lastColor_ = 0;  // the colour dialog opens with the colour last chosen in it
  bool filling_ = false;    // the controls are being filled from the document
  std::vector<RangeTexts> zoomHistory_;  // the ranges each zoom replaced, the latest last
  std::unique_ptr<FieldExits> exits_;
  std::optional<FileStamp> stamp_;  // the file as last read or saved
};

// The frame's "Neu" (isNew: an empty project captioned fileName) and "Öffnen" (fileName is the path
// of the project file to read; a path that does not exist opens an empty project under that name).
TMDIChild* CreateProjectWindow(const ChildContext& context, TQelParser& engine, FrameFields& fields,
                               const QString& fileName, bool isNew);
