#include "ui/project/ProjectWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "engine/QelParser.h"
#include "platform/AtomicFile.h"
#include "platform/Conversions.h"
#include "project/CheckSettings.h"
#include "project/ProjectFile.h"
#include "ui/platform/PathText.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/QtColor.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/project/EditorHints.h"
#include "ui/project/SaveGuard.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ErrorReport.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/FrameFields.h"

namespace {

void SetEditText(QLineEdit& edit, const std::string& text) {
  edit.setText(FromWindows1252(text));
}

}  // namespace

TMDIChild::TMDIChild(const ChildContext& context, TQelParser& engine, FrameFields& fields)
    : ChildForm(context.Area, "MDIChild"), context_(context), engine_(engine), fields_(fields) {
  CreateControls();
  CreateMenus();
  ConnectHandlers();
  setMinimumSize(kMinWidth, kMinHeight);
  resize(717, 495);
  ShowDocument();
}

TMDIChild::~TMDIChild() {
  // The list loses the focus while the base class frees it; this part is gone by then.
  ListView1->removeEventFilter(this);
}

void TMDIChild::ConnectHandlers() {
  for (QAction* add : {Hinzufuegen1, Funktionhinzufuegen1}) {
    connect(add, &QAction::triggered, this, &TMDIChild::Button1Click);
  }
  for (QAction* remove : {Loeschen1, Funktionloeschen1}) {
    connect(remove, &QAction::triggered, this, &TMDIChild::Button2Click);
  }
  connect(Button1, &QToolButton::clicked, this, &TMDIChild::Button1Click);
  connect(Button2, &QToolButton::clicked, this, &TMDIChild::Button2Click);
  connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &TMDIChild::ListView1Change);
  connect(ListView1, &QTreeWidget::itemDoubleClicked, this, &TMDIChild::FocusEdit1);
  connect(ListView1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at)); });
  connect(Edit1, &QLineEdit::textChanged, this, &TMDIChild::Edit1Change);
  AttachEditorHints(*Edit1, *StatusBar1, *ListView1, 3, engine_);
  connect(Edit3, &QLineEdit::textChanged, this, &TMDIChild::Edit3Change);
  connect(Button3, &QToolButton::clicked, this, &TMDIChild::Button3Click);
  connect(Button4, &QToolButton::clicked, this, &TMDIChild::Button4Click);
  connect(Button5, &QToolButton::clicked, this, &TMDIChild::Button5Click);
  connect(Button6, &QToolButton::clicked, this, &TMDIChild::Button6Click);
  connect(CheckBox1, &QCheckBox::toggled, this, &TMDIChild::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::toggled, this, &TMDIChild::CheckBox2Click);
  connect(CheckBox3, &QCheckBox::toggled, this, &TMDIChild::CheckBox3Click);
  connect(CheckBox4, &QCheckBox::toggled, this,
          [this](bool on) { DerivativeClick(&FunctionEntry::DrawFirstDerivative, on); });
  connect(CheckBox5, &QCheckBox::toggled, this,
          [this](bool on) { DerivativeClick(&FunctionEntry::DrawSecondDerivative, on); });
  connect(RadioButton1, &QRadioButton::toggled, this, &TMDIChild::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::toggled, this, &TMDIChild::RadioButton2Click);
  ConnectSettingsEdits();
  ListView1->installEventFilter(this);
  exits_ = std::make_unique<FieldExits>(
      FieldExits::Exits{{Edit1, [this] { Edit1Exit(); }}, {Edit10, [this] { Edit10Exit(); }}});
}

// The settings edits, each with the text setting it shows; both directions read this one table.
std::vector<std::pair<QLineEdit*, std::string ProjectSettings::*>> TMDIChild::SettingsEdits()
    const {
  using S = ProjectSettings;
  return {{Edit2, &S::GridStep},     {Edit4, &S::XFrom},     {Edit5, &S::XTo},
          {Edit6, &S::YFrom},        {Edit7, &S::YTo},       {Edit8, &S::OutputWidth},
          {Edit9, &S::OutputHeight}, {Edit10, &S::Deviation}};
}

// Edit2Change, Edit4Change ... Edit10Change: each keeps its setting equal to the edit's text.
void TMDIChild::ConnectSettingsEdits() {
  for (const auto& [edit, setting] : SettingsEdits()) {
    connect(edit, &QLineEdit::textChanged, this, [this, setting](const QString& text) {
      if (filling_) return;
      SetModified();
      document_.Settings.*setting = ToWindows1252(text);
    });
  }
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListView1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) FocusEdit1();
  }
  return ChildForm::eventFilter(watched, event);
}

void TMDIChild::resizeEvent(QResizeEvent* event) {
  ChildForm::resizeEvent(event);
  LayoutPanels();
  FormResize();
}

void TMDIChild::ShowDocument() {
  filling_ = true;
  const ProjectSettings& s = document_.Settings;
  Paint(*Panel6, ColorFromValue(static_cast<uint32_t>(s.BackgroundColor)));
  Paint(*Panel7, ColorFromValue(static_cast<uint32_t>(s.AxisColor)));
  Paint(*Panel8, ColorFromValue(static_cast<uint32_t>(s.GridColor)));
  CheckBox1->setChecked(s.ShowAxes);
  CheckBox2->setChecked(s.ShowGrid);
  RadioButton1->setChecked(s.Pointwise);
  RadioButton2->setChecked(!s.Pointwise);
  SetDeviationEnabled(!s.Pointwise);
  for (const auto& [edit, setting] : SettingsEdits()) SetEditText(*edit, s.*setting);
  CheckBox3->setChecked(s.UseDeviation);
  FillList();
  filling_ = false;
  ListView1Change();
}

void TMDIChild::FillList() {
  ListView1->clear();
  for (std::size_t index = 0; index < document_.Functions.size(); ++index) {
    new QTreeWidgetItem(ListView1);
    SetRowTexts(static_cast<int>(index));
  }
}

void TMDIChild::SetRowTexts(int index) {
  const FunctionEntry& entry = document_.Functions[static_cast<std::size_t>(index)];
  QTreeWidgetItem* row = ListView1->topLevelItem(index);
  const std::string* texts[] = {&entry.Number, &entry.Expression, &entry.StepWidth, &entry.Color};
  for (int column = 0; column < 4; ++column) row->setText(column, FromWindows1252(*texts[column]));
}

int TMDIChild::SelectedIndex() const {
  const QList<QTreeWidgetItem*> selected = ListView1->selectedItems();
  if (selected.isEmpty()) return -1;
  const int index = ListView1->indexOfTopLevelItem(selected.front());
  return index < static_cast<int>(document_.Functions.size()) ? index : -1;
}

void TMDIChild::SelectEntry(int index) {
  QTreeWidgetItem* row = ListView1->topLevelItem(index);
  ListView1->setCurrentItem(row);
  row->setSelected(true);
}

void TMDIChild::ListView1Change() {
  if (filling_) return;
  const int index = SelectedIndex();
  const bool selected = index >= 0;
  Panel10->setVisible(selected);
  Panel11->setVisible(!selected);
  for (QAction* remove : {Loeschen1, Funktionloeschen1}) remove->setEnabled(selected);
  Button2->setEnabled(selected);
  if (!selected) return;
  const FunctionEntry& entry = document_.Functions[static_cast<std::size_t>(index)];
  // Filling the edits runs their change handlers when the texts differ, as typing would.
  SetEditText(*Edit1, entry.Expression);
  SetEditText(*Edit3, entry.StepWidth);
  Paint(*Panel3, ColorFromValue(static_cast<uint32_t>(LeadingInt(entry.Color))));
  // Showing the switches is no edit.
  const QSignalBlocker first(CheckBox4), second(CheckBox5);
  CheckBox4->setChecked(entry.DrawFirstDerivative);
  CheckBox5->setChecked(entry.DrawSecondDerivative);
}

void TMDIChild::SetDeviationEnabled(bool enabled) {
  CheckBox3->setEnabled(enabled);
  Edit10->setEnabled(enabled);
}

void TMDIChild::FocusEdit1() {
  if (Edit1->isVisible() && Edit1->isEnabled()) Edit1->setFocus(Qt::OtherFocusReason);
}

void TMDIChild::Button1Click() {
  AddFunctionEntry(document_);
  const int index = static_cast<int>(document_.Functions.size()) - 1;
  new QTreeWidgetItem(ListView1);
  SetRowTexts(index);
  SelectEntry(index);
  FocusEdit1();
}

void TMDIChild::Button2Click() {
  const int index = SelectedIndex();
  if (index < 0) return;
  const PromptButton answer = context_.Questions.Message(
      this, kMessageCaption, "Möchten Sie die ausgewählte Funktion wirklich löschen?",
      {PromptButton::Yes, PromptButton::No}, PromptIcon::Question);
  if (answer != PromptButton::Yes) return;
  DeleteFunctionEntry(document_, static_cast<std::size_t>(index));
  // The list would otherwise report selections while its rows and the entries disagree.
  filling_ = true;
  delete ListView1->takeTopLevelItem(index);
  ListView1->clearSelection();
  const int remaining = static_cast<int>(document_.Functions.size());
  for (int row = index; row < remaining; ++row) SetRowTexts(row);
  filling_ = false;
  if (remaining > 0) {
    SelectEntry(std::min(index, remaining - 1));
  } else {
    ListView1Change();
  }
}

void TMDIChild::Edit1Change() {
  if (filling_) return;
  SetModified();
  const int index = SelectedIndex();
  if (index < 0) return;
  document_.Functions[static_cast<std::size_t>(index)].Expression = ToWindows1252(Edit1->text());
  SetRowTexts(index);
}

void TMDIChild::Edit3Change() {
  if (filling_) return;
  SetModified();
  const int index = SelectedIndex();
  if (index < 0) return;
  document_.Functions[static_cast<std::size_t>(index)].StepWidth = ToWindows1252(Edit3->text());
  SetRowTexts(index);
}

void TMDIChild::Edit1Exit() {
  if (!Edit1->text().trimmed().isEmpty()) return;
  context_.Questions.Message(this, kMessageCaption,
                             "Sie sollten die Funktionsdefinition nicht frei lassen, da so keine\n"
                             "Funktion dargestellt wird.",
                             {PromptButton::Ok}, PromptIcon::Information);
}

void TMDIChild::Button3Click() {
  SetModified();
  const std::optional<uint32_t> chosen = context_.Questions.ChooseColor(this, lastColor_);
  const int index = SelectedIndex();
  if (!chosen || index < 0) return;
  lastColor_ = *chosen;
  Paint(*Panel3, ColorFromValue(*chosen));
  document_.Functions[static_cast<std::size_t>(index)].Color = std::to_string(*chosen);
  SetRowTexts(index);
}

void TMDIChild::Button4Click() {
  ChooseColor(*Panel6, document_.Settings.BackgroundColor);
}
void TMDIChild::Button5Click() {
  ChooseColor(*Panel7, document_.Settings.AxisColor);
}
void TMDIChild::Button6Click() {
  ChooseColor(*Panel8, document_.Settings.GridColor);
}

void TMDIChild::ChooseColor(QLabel& swatch, int32_t& setting) {
  SetModified();
  const std::optional<uint32_t> chosen = context_.Questions.ChooseColor(this, lastColor_);
  if (!chosen) return;
  lastColor_ = *chosen;
  Paint(swatch, ColorFromValue(*chosen));
  setting = static_cast<int32_t>(*chosen);
}

void TMDIChild::CheckBox1Click(bool checked) {
  if (filling_) return;
  SetModified();
  document_.Settings.ShowAxes = checked;
}

void TMDIChild::CheckBox2Click(bool checked) {
  if (filling_) return;
  SetModified();
  document_.Settings.ShowGrid = checked;
}

void TMDIChild::CheckBox3Click(bool checked) {
  if (filling_) return;
  SetModified();
  document_.Settings.UseDeviation = checked;
  if (!checked) Edit10->setText("0");
}

void TMDIChild::DerivativeClick(bool FunctionEntry::*curve, bool checked) {
  const int index = SelectedIndex();
  if (filling_ || index < 0) return;
  SetModified();
  document_.Functions[static_cast<std::size_t>(index)].*curve = checked;
}

void TMDIChild::RadioButton1Click(bool checked) {
  if (filling_ || !checked) return;
  SetDeviationEnabled(false);
  document_.Settings.Pointwise = true;
  SetModified();
}

void TMDIChild::RadioButton2Click(bool checked) {
  if (filling_ || !checked) return;
  SetDeviationEnabled(true);
  document_.Settings.Pointwise = false;
  SetModified();
}

void TMDIChild::Edit10Exit() {
  if (!engine_.IsLongDouble(ToWindows1252(Edit10->text()))) Edit10->setText("0");
  if (Edit10->text() == "0" && CheckBox3->isChecked()) CheckBox3->setChecked(false);
}

void TMDIChild::SpeichernClick() {
  Save();
}

void TMDIChild::SpeichernunterClick() {
  SaveAs();
}

bool TMDIChild::Save() {
  const QString path = PathString(document_.DateiName);
  if (!path.isEmpty() && IsRegularFile(path)) return SaveDataReporting();
  return SaveAs();
}

// Creating a new file and replacing another project must both be confirmed; a cancelled dialog
// saves nothing.
bool TMDIChild::SaveAs() {
  FileDialogSpec spec;
  spec.Title = "Projektdatei speichern unter";
  spec.Filter = kProjectFilter;
  spec.DefaultExt = kProjectDefaultExt;
  spec.AskBeforeReplacing = true;
  spec.AskBeforeCreating = true;
  const std::optional<FileChoice> choice = context_.Questions.SaveFile(this, spec);
  if (!choice) return false;
  document_.DateiName = PathString(choice->Path);
  SetCaption(choice->Path);
  return SaveDataReporting();
}

bool TMDIChild::SaveDataReporting() {
  if (!MayReplace(context_.Questions, this, stamp_, document_.DateiName)) return false;
  try {
    SaveData(document_);
    stamp_ = StampOf(document_.DateiName);
    emit ProjectSaved(PathString(document_.DateiName));
    return true;
  } catch (const FileCreateError& error) {
    ShowErrorReport(context_.Questions, FileErrorText(error));
    return false;
  }
}

void TMDIChild::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  document_.Caption = PathString(caption);
  DateiName->setText(PathString(document_.DateiName));
}

// FormCloseQuery: a modified project closes only once it is saved or the user gives it up.
bool TMDIChild::AskToClose() {
  if (!document_.Modified) return true;
  const PromptButton answer = context_.Questions.Message(
      this, "Projekt geändert", "Möchten Sie die Änderungen speichern?",
      {PromptButton::Yes, PromptButton::No, PromptButton::Cancel}, PromptIcon::Question);
  return answer == PromptButton::No || (answer == PromptButton::Yes && Save());
}

bool TMDIChild::SettingsPassCheck() {
  const QSize screen = this->screen()->size();
  const SettingsVerdict verdict =
      CheckSettings(document_.Settings, screen.width(), screen.height());
  if (verdict.Passed()) return true;
  context_.Questions.Message(this, "Eingabefehler", FromWindows1252(verdict.Message),
                             {PromptButton::Ok}, PromptIcon::Exclamation);
  return false;
}

void TMDIChild::Funktionsgrapherstellen1Click() {
  fields_.GenerationCancelled = false;
  if (SettingsPassCheck()) emit GraphWanted();
}

void TMDIChild::Wertetabelleanzeigen1Click() {
  if (SettingsPassCheck()) emit ValueTableWanted();
}

void TMDIChild::OpenProject(const QString& fileName, bool isNew) {
  SetCaption(fileName);
  if (isNew) return;
  const std::string path = PathString(fileName);
  try {
    // Only a missing file is a new project; a pipe or a device is reported as unreadable.
    // Asked of the bytes of the name: a name that is no valid UTF-8 would not be found otherwise.
    std::error_code missing;
    if (std::filesystem::exists(path, missing)) ReadProjectFile(path, document_);
  } catch (const FileOpenError& error) {
    const QString reason = FromWindows1252(error.Reason());
    ShowErrorReport(context_.Questions,
                    FileErrorText(error) + (reason.isEmpty() ? QString() : "\n\n" + reason));
    return;
  } catch (const ConvertError& error) {
    ShowDocument();
    ShowErrorReport(context_.Questions, ErrorText(error));
    return;
  }
  resize(kMinWidth, kMinHeight);
  document_.DateiName = path;
  stamp_ = StampOf(path);
  DateiName->setText(fileName);
  ShowDocument();
  document_.Modified = false;
}

RangeTexts TMDIChild::RangeFields() const {
  return {Edit4->text(), Edit5->text(), Edit6->text(), Edit7->text()};
}

// Setting the texts runs the edits' change handlers, as typing would.
void TMDIChild::SetRangeFields(const RangeTexts& ranges) {
  Edit4->setText(ranges.XFrom);
  Edit5->setText(ranges.XTo);
  Edit6->setText(ranges.YFrom);
  Edit7->setText(ranges.YTo);
}

bool TMDIChild::ZoomTo(const RangeTexts& ranges) {
  zoomHistory_.push_back(RangeFields());
  SetRangeFields(ranges);
  return SettingsPassCheck();
}

bool TMDIChild::ZoomBack() {
  if (zoomHistory_.empty()) return false;
  SetRangeFields(zoomHistory_.back());
  zoomHistory_.pop_back();
  return SettingsPassCheck();
}

TMDIChild* CreateProjectWindow(const ChildContext& context, TQelParser& engine, FrameFields& fields,
                               const QString& fileName, bool isNew) {
  auto* window = new TMDIChild(context, engine, fields);
  window->show();
  window->OpenProject(fileName, isNew);
  return window;
}
