#include "project/ProjectWindow.h"

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
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>

#include "engine/QelParser.h"
#include "platform/AtomicFile.h"
#include "platform/Conversions.h"
#include "platform/PathText.h"
#include "platform/Prompts.h"
#include "platform/QtColor.h"
#include "platform/Windows1252Text.h"
#include "project/CheckSettings.h"
#include "project/ProjectFile.h"
#include "project/SaveGuard.h"
#include "shell/AppInfo.h"
#include "shell/ErrorReport.h"
#include "shell/FrameCommands.h"

namespace {

constexpr int kMinWidth = 724;
constexpr int kMinHeight = 440;
constexpr int kRightAreaWidth = 474;
constexpr int kSettingsHeight = 196;
constexpr int kStatusHeight = 19;
constexpr int kListLeft = 16;
constexpr int kListTop = 8;
constexpr int kListButtonWidth = 105;
constexpr int kListButtonHeight = 41;

const QColor kSilver(192, 192, 192);
const QColor kGray(128, 128, 128);
const QColor kNavy(0, 0, 128);

QString Native(const std::string& path) {
  return PathFromBytes(QByteArray::fromStdString(path));
}
std::string Native(const QString& path) {
  return PathToBytes(path).toStdString();
}

QFont ArialBold(int pixels) {
  QFont font("Arial");
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

void Paint(QWidget& widget, const QColor& background) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, background);
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

void SetTextColor(QWidget& widget, const QColor& color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, color);
  widget.setPalette(palette);
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->move(x, y);
  label->adjustSize();
  return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* edit = new QLineEdit(text, parent);
  edit->setObjectName(name);
  edit->setGeometry(geometry);
  edit->setValidator(new Windows1252Validator(edit));
  return edit;
}

QLabel* NewSwatch(QWidget* parent, const char* name, int32_t color, QRect geometry) {
  auto* swatch = new QLabel(parent);
  swatch->setObjectName(name);
  swatch->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  swatch->setGeometry(geometry);
  Paint(*swatch, ColorFromValue(static_cast<uint32_t>(color)));
  return swatch;
}

QToolButton* NewFlatButton(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(text);
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  button->setGeometry(geometry);
  return button;
}

QCheckBox* NewCheckBox(QWidget* parent, const char* name, const QString& text, QPoint at) {
  auto* box = new QCheckBox(text, parent);
  box->setObjectName(name);
  box->move(at);
  box->adjustSize();
  return box;
}

void SetEditText(QLineEdit& edit, const std::string& text) {
  edit.setText(FromWindows1252(text));
}

}  // namespace

TMDIChild::TMDIChild(FrameCommands& frame) : ChildForm(frame.MdiArea(), "MDIChild"), frame_(frame) {
  CreateControls();
  CreateMenus();
  ConnectHandlers();
  setMinimumSize(kMinWidth, kMinHeight);
  resize(717, 495);
  ShowDocument();
}

TMDIChild::~TMDIChild() {
  // The edits lose the focus while the base class frees them; this part is gone by then.
  Edit1->removeEventFilter(this);
  Edit10->removeEventFilter(this);
  ListView1->removeEventFilter(this);
}

void TMDIChild::CreateControls() {
  client_ = new QWidget(this);
  // Close to the desktop's dialog font in its metrics, which the fixed layout was made for.
  QFont font("Arial");
  font.setPixelSize(11);
  client_->setFont(font);
  Panel1 = CreateListArea(client_);
  Panel4 = new QWidget(client_);
  Panel4->setObjectName("Panel4");
  Panel2 = new QWidget(Panel4);
  Panel2->setObjectName("Panel2");
  Paint(*Panel2, kSilver);
  Panel11 = CreateHintPanel(Panel2);
  Panel10 = CreateFunctionPanel(Panel2);
  Panel5 = CreateSettingsPanel(Panel4);
  StatusBar1 = new QStatusBar(client_);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  DateiName = new QLabel(client_);
  DateiName->setObjectName("DateiName");
  DateiName->hide();
  setWidget(client_);
}

QWidget* TMDIChild::CreateListArea(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("Panel1");
  ListView1 = new QTreeWidget(panel);
  ListView1->setObjectName("ListView1");
  ListView1->setColumnCount(4);
  ListView1->setHeaderLabels({"Nr.", "Funktion", "Schrittweite", "Farbe"});
  // The columns share the list's width, the function taking what the others leave, so no column
  // ever lies outside the list and selecting a row never scrolls it sideways.
  QHeaderView* header = ListView1->header();
  header->setSectionsClickable(false);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(24);
  for (const int column : {0, 2, 3})
    header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  ListView1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ListView1->setTextElideMode(Qt::ElideRight);
  ListView1->setRootIsDecorated(false);
  ListView1->setItemsExpandable(false);
  ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
  ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
  ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ListView1->setAllColumnsShowFocus(true);
  ListView1->setFont(ArialBold(13));
  // The headings in the window's own font leave the function column more room.
  header->setFont(parent->font());
  ListView1->move(kListLeft, kListTop);
  QPalette palette = ListView1->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Light));
  // The selection stays as visible as while the list has the focus.
  for (const auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
    palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
  }
  ListView1->setPalette(palette);
  ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
  Button1 = NewFlatButton(panel, "Button1", "Funktion hin&zufügen",
                          QRect(kListLeft, 0, kListButtonWidth, kListButtonHeight));
  Button2 = NewFlatButton(
      panel, "Button2", "Funktion lö&schen",
      QRect(kListLeft + kListButtonWidth + 8, 0, kListButtonWidth, kListButtonHeight));
  Button1->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
  Button2->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
  for (QToolButton* button : {Button1, Button2}) {
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  }
  Button2->setEnabled(false);
  return panel;
}

QWidget* TMDIChild::CreateFunctionPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("Panel10");
  // Rows packed so the whole panel fits the height the window leaves it at its minimum size.
  Label2 = NewLabel(panel, "Label2", "Funktion :", 8, 4);
  QFont bold = Label2->font();
  bold.setBold(true);
  Label2->setFont(bold);
  Label2->adjustSize();
  Label19 = NewLabel(panel, "Label19",
                     "Funktionen : sin(x), cos(x), tan(x), , lg(x), ln(x), abs(x)", 8, 22);
  Label7 = NewLabel(panel, "Label7", "Operatoren :   +, -, *, /, ^, mod", 8, 36);
  Label20 = NewLabel(panel, "Label20", "Konstanten : pi, e", 8, 50);
  for (QLabel* hint : {Label19, Label7, Label20}) SetTextColor(*hint, kGray);
  Label3 = NewLabel(panel, "Label3", "f (x) =", 8, 72);
  Edit1 = NewEdit(panel, "Edit1", "", QRect(56, 68, 375, 21));
  Label21 =
      NewLabel(panel, "Label21",
               "Achtung : Bei der Multiplikation STETS ein * verwenden! Also statt 3x immer 3 "
               "* x schreiben",
               8, 94);
  Label21->setFont(bold);
  Label21->setWordWrap(true);
  Label21->setGeometry(8, 94, 440, 30);
  SetTextColor(*Label21, kNavy);
  Label4 = NewLabel(panel, "Label4", "Farbe :", 8, 134);
  Panel3 = NewSwatch(panel, "Panel3", 0, QRect(56, 130, 57, 21));
  Button3 = NewFlatButton(panel, "Button3", "Ändern ...", QRect(120, 128, 75, 25));
  Label9 = NewLabel(panel, "Label9", "Schrittweite :", 216, 134);
  Edit3 = NewEdit(panel, "Edit3", "0.01", QRect(296, 130, 100, 21));
  panel->hide();
  return panel;
}

QWidget* TMDIChild::CreateHintPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("Panel11");
  panel->setFont(ArialBold(11));
  SetTextColor(*panel, kNavy);
  Label1 = NewLabel(panel, "Label1",
                    "Klicken Sie auf ''Funktion hinzufügen'', um eine neue Funktion "
                    "hinzuzufügen,",
                    8, 96);
  Label5 = NewLabel(panel, "Label5",
                    "oder wählen Sie - falls vorhanden - eine Funktion in der linken Liste aus.", 8,
                    114);
  return panel;
}

QWidget* TMDIChild::CreateSettingsPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("Panel5");
  Paint(*panel, kSilver);
  // Disabled captions stay readable on the silver panel.
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Disabled, QPalette::WindowText, kGray);
  panel->setPalette(palette);
  const ProjectSettings defaults;
  Label6 = NewLabel(panel, "Label6", "Hintergrundfarbe : ", 8, 12);
  Panel6 = NewSwatch(panel, "Panel6", defaults.BackgroundColor, QRect(176, 8, 40, 21));
  Button4 = NewFlatButton(panel, "Button4", "Ändern ...", QRect(222, 6, 70, 25));
  CheckBox1 = NewCheckBox(panel, "CheckBox1", "Koordinatenkreutz anzeigen", QPoint(8, 38));
  Panel7 = NewSwatch(panel, "Panel7", defaults.AxisColor, QRect(176, 36, 40, 21));
  Button5 = NewFlatButton(panel, "Button5", "Ändern ...", QRect(222, 34, 70, 25));
  CheckBox2 = NewCheckBox(panel, "CheckBox2", "Gitter anzeigen", QPoint(8, 66));
  Panel8 = NewSwatch(panel, "Panel8", defaults.GridColor, QRect(176, 64, 40, 21));
  Button6 = NewFlatButton(panel, "Button6", "Ändern ...", QRect(222, 62, 70, 25));
  Label8 = NewLabel(panel, "Label8", "Schrittweite :", 26, 98);
  Edit2 = NewEdit(panel, "Edit2", "1", QRect(100, 94, 60, 21));
  Label10 = NewLabel(panel, "Label10", "Zeichnen :", 8, 128);
  RadioButton1 = new QRadioButton("Punktweise", panel);
  RadioButton1->setObjectName("RadioButton1");
  RadioButton1->move(80, 126);
  RadioButton2 = new QRadioButton("Linienweise", panel);
  RadioButton2->setObjectName("RadioButton2");
  RadioButton2->move(176, 126);
  CheckBox3 = NewCheckBox(panel, "CheckBox3", "Abweichung :", QPoint(8, 158));
  Edit10 = NewEdit(panel, "Edit10", "0", QRect(100, 156, 60, 21));
  CreateRangeSettings(panel);
  return panel;
}

// The right column of the settings: x and y range and output size.
void TMDIChild::CreateRangeSettings(QWidget* panel) {
  Label11 = NewLabel(panel, "Label11", "Bereich :", 304, 12);
  const QString rangeGap = "                 ";
  Label12 = NewLabel(panel, "Label12", "X von" + rangeGap + "bis", 304, 40);
  Label13 = NewLabel(panel, "Label13", "Y von" + rangeGap + "bis", 304, 68);
  // The range edits sit in the gaps the two labels leave between and after their words.
  const QFontMetrics metrics(Label12->font());
  const int from = 304 + metrics.horizontalAdvance("X von ");
  const int fromWidth = metrics.horizontalAdvance(rangeGap) - 2 * metrics.horizontalAdvance(' ');
  const int to = 304 + metrics.horizontalAdvance("X von" + rangeGap + "bis ");
  Edit4 = NewEdit(panel, "Edit4", "-10", QRect(from, 36, fromWidth, 21));
  Edit5 = NewEdit(panel, "Edit5", "10", QRect(to, 36, fromWidth, 21));
  Edit6 = NewEdit(panel, "Edit6", "-10", QRect(from, 64, fromWidth, 21));
  Edit7 = NewEdit(panel, "Edit7", "10", QRect(to, 64, fromWidth, 21));
  Label14 = NewLabel(panel, "Label14", "Ausgabegröße :", 304, 100);
  Label15 = NewLabel(panel, "Label15", "Breite :", 304, 128);
  Edit8 = NewEdit(panel, "Edit8", "640", QRect(348, 124, 56, 21));
  Label17 = NewLabel(panel, "Label17", "Pixel", 410, 128);
  Label16 = NewLabel(panel, "Label16", "Höhe :", 304, 156);
  Edit9 = NewEdit(panel, "Edit9", "480", QRect(348, 152, 56, 21));
  Label18 = NewLabel(panel, "Label18", "Pixel", 410, 156);
}

void TMDIChild::CreateMenus() {
  menus_ = StandardMenus::ForChild(
      *this, frame_,
      {.ContextHelpTopic = "Funktionsgraphenerstellen",
       .SyntaxHelpTopic = "Funktionssyntax",
       .Own = {{MenuItem::Speichern, [this] { SpeichernClick(); }},
               {MenuItem::Speichernunter, [this] { SpeichernunterClick(); }},
               {MenuItem::Funktionsgrapherstellen1, [this] { Funktionsgrapherstellen1Click(); }},
               {MenuItem::Wertetabelleanzeigen1, [this] { Wertetabelleanzeigen1Click(); }}},
       .Captions = {{MenuItem::Wertetabelleanzeigen1, "&Wertetabelle anzeigen"},
                    {MenuItem::HelpAboutItem, "Ü&ber Qel Grahics"}}});
  Funktion1 = new QMenu("Fun&ktion", menus_.Bar);
  Funktion1->setObjectName("Funktion1");
  Hinzufuegen1 = Funktion1->addAction("Hin&zufügen");
  Hinzufuegen1->setObjectName("Hinzufuegen1");
  Loeschen1 = Funktion1->addAction("Lö&schen");
  Loeschen1->setObjectName("Loeschen1");
  menus_.Bar->insertMenu(menus_.Graph->menuAction(), Funktion1);
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Funktionhinzufuegen1 = PopupMenu1->addAction("Funktion hinzufügen");
  Funktionloeschen1 = PopupMenu1->addAction("Funktion löschen");
  Funktionhinzufuegen1->setObjectName("Funktionhinzufuegen1");
  Funktionloeschen1->setObjectName("Funktionloeschen1");
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
  connect(Edit3, &QLineEdit::textChanged, this, &TMDIChild::Edit3Change);
  connect(Button3, &QToolButton::clicked, this, &TMDIChild::Button3Click);
  connect(Button4, &QToolButton::clicked, this, &TMDIChild::Button4Click);
  connect(Button5, &QToolButton::clicked, this, &TMDIChild::Button5Click);
  connect(Button6, &QToolButton::clicked, this, &TMDIChild::Button6Click);
  connect(CheckBox1, &QCheckBox::toggled, this, &TMDIChild::CheckBox1Click);
  connect(CheckBox2, &QCheckBox::toggled, this, &TMDIChild::CheckBox2Click);
  connect(CheckBox3, &QCheckBox::toggled, this, &TMDIChild::CheckBox3Click);
  connect(RadioButton1, &QRadioButton::toggled, this, &TMDIChild::RadioButton1Click);
  connect(RadioButton2, &QRadioButton::toggled, this, &TMDIChild::RadioButton2Click);
  ConnectSettingsEdits();
  for (QObject* watched : {static_cast<QObject*>(Edit1), static_cast<QObject*>(Edit10),
                           static_cast<QObject*>(ListView1)}) {
    watched->installEventFilter(this);
  }
}

// Edit2Change, Edit4Change ... Edit10Change: each keeps its setting equal to the edit's text.
void TMDIChild::ConnectSettingsEdits() {
  ProjectSettings& s = document_.Settings;
  const std::pair<QLineEdit*, std::string*> fields[] = {
      {Edit2, &s.GridStep},     {Edit4, &s.XFrom},     {Edit5, &s.XTo},
      {Edit6, &s.YFrom},        {Edit7, &s.YTo},       {Edit8, &s.OutputWidth},
      {Edit9, &s.OutputHeight}, {Edit10, &s.Deviation}};
  for (const auto& [edit, field] : fields) {
    connect(edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
      if (filling_) return;
      SetModified();
      *field = ToWindows1252(text);
    });
  }
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    // Leaving means moving to another control of this window: not switching windows or opening a
    // menu, nor the edit vanishing with its panel or its window.
    const bool visible = static_cast<QWidget*>(watched)->isVisible();
    if (visible && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::MenuBarFocusReason) {
      if (watched == Edit1) Edit1Exit();
      if (watched == Edit10) Edit10Exit();
    }
  }
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

void TMDIChild::LayoutPanels() {
  const int width = client_->width();
  const int height = client_->height() - kStatusHeight;
  StatusBar1->setGeometry(0, height, width, kStatusHeight);
  Panel1->setGeometry(0, 0, std::max(0, width - kRightAreaWidth), height);
  Panel4->setGeometry(width - kRightAreaWidth, 0, kRightAreaWidth, height);
  Panel2->setGeometry(0, 0, kRightAreaWidth, std::max(0, height - kSettingsHeight));
  Panel5->setGeometry(0, height - kSettingsHeight, kRightAreaWidth, kSettingsHeight);
  Panel10->setGeometry(Panel2->rect());
  Panel11->setGeometry(Panel2->rect());
  Edit1->resize(std::max(40, Panel10->width() - Edit1->x() - 43), Edit1->height());
}

// The list and its buttons follow the window's outer height, as the window has always placed them.
void TMDIChild::FormResize() {
  const int outerHeight = height();
  ListView1->resize(Panel1->width() - 33, outerHeight - ListView1->y() - 100);
  for (QToolButton* button : {Button1, Button2}) {
    button->move(button->x(), outerHeight - button->height() - 55);
  }
}

void TMDIChild::ShowDocument() {
  filling_ = true;
  const ProjectSettings& s = document_.Settings;
  Paint(*Panel6, ColorFromValue(static_cast<uint32_t>(s.BackgroundColor)));
  Paint(*Panel7, ColorFromValue(static_cast<uint32_t>(s.AxisColor)));
  Paint(*Panel8, ColorFromValue(static_cast<uint32_t>(s.GridColor)));
  CheckBox1->setChecked(s.ShowAxes);
  CheckBox2->setChecked(s.ShowGrid);
  SetEditText(*Edit2, s.GridStep);
  RadioButton1->setChecked(s.Pointwise);
  RadioButton2->setChecked(!s.Pointwise);
  SetDeviationEnabled(!s.Pointwise);
  const std::pair<QLineEdit*, const std::string*> fields[] = {
      {Edit4, &s.XFrom},       {Edit5, &s.XTo},          {Edit6, &s.YFrom},     {Edit7, &s.YTo},
      {Edit8, &s.OutputWidth}, {Edit9, &s.OutputHeight}, {Edit10, &s.Deviation}};
  for (const auto& [edit, field] : fields) SetEditText(*edit, *field);
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
  const PromptButton answer = frame_.prompts().Message(
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
  frame_.prompts().Message(this, kMessageCaption,
                           "Sie sollten die Funktionsdefinition nicht frei lassen, da so keine\n"
                           "Funktion dargestellt wird.",
                           {PromptButton::Ok}, PromptIcon::Information);
}

void TMDIChild::Button3Click() {
  SetModified();
  const std::optional<uint32_t> chosen = frame_.prompts().ChooseColor(this, lastColor_);
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
  const std::optional<uint32_t> chosen = frame_.prompts().ChooseColor(this, lastColor_);
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
  if (!frame_.QelParser1().IsLongDouble(ToWindows1252(Edit10->text()))) Edit10->setText("0");
  if (Edit10->text() == "0" && CheckBox3->isChecked()) CheckBox3->setChecked(false);
}

void TMDIChild::SpeichernClick() {
  Save();
}

void TMDIChild::SpeichernunterClick() {
  SaveAs();
}

bool TMDIChild::Save() {
  const QString path = Native(document_.DateiName);
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
  const std::optional<FileChoice> choice = frame_.prompts().SaveFile(this, spec);
  if (!choice) return false;
  document_.DateiName = Native(choice->Path);
  SetCaption(choice->Path);
  return SaveDataReporting();
}

bool TMDIChild::SaveDataReporting() {
  if (!MayReplace(frame_.prompts(), this, stamp_, document_.DateiName)) return false;
  try {
    SaveData(document_);
    stamp_ = StampOf(document_.DateiName);
    emit ProjectSaved(Native(document_.DateiName));
    return true;
  } catch (const FileCreateError& error) {
    ShowErrorReport(frame_.prompts(), QString::fromLocal8Bit(error.what()));
    return false;
  }
}

void TMDIChild::SetCaption(const QString& caption) {
  setWindowTitle(caption);
  document_.Caption = Native(caption);
  DateiName->setText(Native(document_.DateiName));
}

// FormCloseQuery: a modified project closes only once it is saved or the user gives it up.
bool TMDIChild::AskToClose() {
  if (!document_.Modified) return true;
  const PromptButton answer = frame_.prompts().Message(
      this, "Projekt geändert", "Möchten Sie die Änderungen speichern?",
      {PromptButton::Yes, PromptButton::No, PromptButton::Cancel}, PromptIcon::Question);
  return answer == PromptButton::No || (answer == PromptButton::Yes && Save());
}

bool TMDIChild::SettingsPassCheck() {
  const QSize screen = this->screen()->size();
  const SettingsVerdict verdict =
      CheckSettings(document_.Settings, screen.width(), screen.height());
  if (verdict.Passed()) return true;
  frame_.prompts().Message(this, "Eingabefehler", FromWindows1252(verdict.Message),
                           {PromptButton::Ok}, PromptIcon::Exclamation);
  return false;
}

void TMDIChild::Funktionsgrapherstellen1Click() {
  frame_.Fields().GenerationCancelled = false;
  if (SettingsPassCheck()) frame_.GenerateGraph(*this);
}

void TMDIChild::Wertetabelleanzeigen1Click() {
  if (SettingsPassCheck()) frame_.ShowValueTableDialog(*this);
}

void TMDIChild::OpenProject(const QString& fileName, bool isNew) {
  SetCaption(fileName);
  if (isNew) return;
  const std::string path = Native(fileName);
  try {
    // Only a missing file is a new project; a pipe or a device is reported as unreadable.
    // Asked of the bytes of the name: a name that is no valid UTF-8 would not be found otherwise.
    std::error_code missing;
    if (std::filesystem::exists(path, missing)) ReadProjectFile(path, document_);
  } catch (const FileOpenError& error) {
    const QString reason = FromWindows1252(error.Reason());
    ShowErrorReport(frame_.prompts(), QString::fromLocal8Bit(error.what()) +
                                          (reason.isEmpty() ? QString() : "\n\n" + reason));
    return;
  } catch (const ConvertError& error) {
    ShowDocument();
    ShowErrorReport(frame_.prompts(), FromWindows1252(error.what()));
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

void TMDIChild::ZoomTo(const RangeTexts& ranges) {
  zoomHistory_.push_back(RangeFields());
  SetRangeFields(ranges);
  DrawFromGraph();
}

bool TMDIChild::ZoomBack() {
  if (zoomHistory_.empty()) return false;
  SetRangeFields(zoomHistory_.back());
  zoomHistory_.pop_back();
  DrawFromGraph();
  return true;
}

// The command replaces the project's graph windows except the active child, which is the editor
// when the command is its own.
void TMDIChild::DrawFromGraph() {
  if (QMdiArea* area = mdiArea()) area->setActiveSubWindow(this);
  Funktionsgrapherstellen1Click();
}

ChildForm* CreateProjectWindow(FrameCommands& frame, const QString& fileName, bool isNew) {
  auto* window = new TMDIChild(frame);
  window->show();
  window->OpenProject(fileName, isNew);
  return window;
}
