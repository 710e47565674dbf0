// The project editor's controls: built and laid out under the names the help pages and the tests
// use. What they do is in ProjectWindow.cpp.
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "ui/platform/QtColor.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/project/DisplaySettingsDialog.h"
#include "ui/project/ProjectWindow.h"
#include "ui/shell/FieldHabits.h"

namespace {

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

}  // namespace

void TMDIChild::CreateControls() {
  client_ = new QWidget(this);
  client_->setFont(DialogFont());
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
  ListView1->setFont(DialogFont(13, true));
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
  CheckBox4 = NewCheckBox(panel, "CheckBox4", "f′ zeichnen", QPoint(8, 156));
  CheckBox5 = NewCheckBox(panel, "CheckBox5", "f″ zeichnen", QPoint(120, 156));
  panel->hide();
  return panel;
}

QWidget* TMDIChild::CreateHintPanel(QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName("Panel11");
  panel->setFont(DialogFont(11, true));
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
      *this, context_,
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
  AddDisplaySettingsItem(*menus_.Graph, menus_.Item(MenuItem::Graphenspeichernunter1), *this,
                         context_.Questions, document_.Settings, [this] { SetModified(); });
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  Funktionhinzufuegen1 = PopupMenu1->addAction("Funktion hinzufügen");
  Funktionloeschen1 = PopupMenu1->addAction("Funktion löschen");
  Funktionhinzufuegen1->setObjectName("Funktionhinzufuegen1");
  Funktionloeschen1->setObjectName("Funktionloeschen1");
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
