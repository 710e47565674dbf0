#include "ui/valuetable/ValueTableOptionsDialog.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>

#include "engine/QelParser.h"
#include "platform/Conversions.h"
#include "project/ProjectDocument.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/ErrorReport.h"
#include "ui/shell/FieldHabits.h"
#include "ui/valuetable/ValueTableWindow.h"

namespace {

constexpr int kMinDecimals = 0;
constexpr int kMaxDecimals = 16;
constexpr int kDefaultDecimals = 2;

// Drawn raised, as the desktop draws buttons.
QToolButton* CommandButton(const QString& caption, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setText(caption);
  // The buttons never take the focus, so OK reads the edit exactly as the user left it.
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

// What the edit stands for once it is left: 0 to 16, and 2 for a text that is no integer.
int32_t ClampedDecimals(const QString& text) {
  try {
    return std::clamp(StrToInt(ToWindows1252(text)), kMinDecimals, kMaxDecimals);
  } catch (const ConvertError&) {
    return kDefaultDecimals;
  }
}

}  // namespace

TForm5::TForm5(const ChildContext& context, TQelParser& engine, QWidget* parent)
    : QDialog(parent), context_(context), engine_(engine) {
  setObjectName("Form5");
  setWindowTitle("Wertetabelle erstellen");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  setFixedSize(405, 169);

  Label1 = new QLabel("Funktion:", this);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(false);
  Label2 = new QLabel("Rundung der f(x)-Werte auf :", this);
  Edit1 = new QLineEdit(QString::number(kDefaultDecimals), this);
  UpDown1 = new UpDownArrows(this, kMinDecimals, kMaxDecimals, kDefaultDecimals);
  UpDown1->Up->setAutoRepeat(true);
  UpDown1->Down->setAutoRepeat(true);
  Label3 = new QLabel("Dezimalstellen hinter dem Komma.", this);
  Button1 = CommandButton("&Ok            ", this);
  Button2 = CommandButton("A&bbrechen", this);
  Button3 = CommandButton("&Hilfe          ", this);
  PlaceControls();

  connect(Button1, &QToolButton::clicked, this, &TForm5::Button1Click);
  connect(Button2, &QToolButton::clicked, this, &TForm5::Button2Click);
  connect(Button3, &QToolButton::clicked, this, &TForm5::Button3Click);
  connect(UpDown1, &UpDownArrows::Click, this, &TForm5::UpDown1Click);
  PreviewKeys(*this, *this);
  // Leaving the edit by moving within the dialog clamps it; the dialog closing or losing the
  // activation does not, so the typed value is kept for the next use.
  exits_ = std::make_unique<FieldExits>(FieldExits::Exits{{Edit1, [this] { Edit1Exit(); }}});
}

void TForm5::PlaceControls() {
  setFont(DialogFont());
  Label1->setGeometry(16, 12, 120, 16);
  ComboBox1->setGeometry(16, 30, 373, 24);
  // The decimals line flows from the labels' own widths: label, edit, arrows, label.
  const int label2Width = Label2->sizeHint().width();
  Label2->setGeometry(16, 76, label2Width, 16);
  Edit1->setGeometry(22 + label2Width, 72, 33, 24);
  UpDown1->setGeometry(55 + label2Width, 72, 16, 24);
  Label3->setGeometry(77 + label2Width, 76, Label3->sizeHint().width(), 16);
  Button1->setGeometry(16, 120, 113, 33);
  Button2->setGeometry(146, 120, 113, 33);
  Button3->setGeometry(276, 120, 113, 33);
}

void TForm5::Prepare(QWidget& projectWindow, const ProjectDocument& document) {
  ComboBox1->clear();
  for (const FunctionEntry& entry : document.Functions) {
    ComboBox1->addItem(FromWindows1252(entry.Expression));
  }
  ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
  // Without a function there is nothing to build a table for.
  Button1->setEnabled(ComboBox1->count() > 0);
  projectWindow_ = &projectWindow;
  document_ = &document;
}

void TForm5::ShowFor(QWidget& projectWindow, const ProjectDocument& document) {
  Prepare(projectWindow, document);
  exec();
}

void TForm5::Button1Click() {
  if (building_ || !Button1->isEnabled() || !projectWindow_ || document_ == nullptr) return;
  const int index = ComboBox1->currentIndex();
  if (index < 0 || index >= static_cast<int>(document_->Functions.size())) return;
  int32_t decimals = 0;
  try {
    decimals = StrToInt(ToWindows1252(Edit1->text()));
  } catch (const ConvertError& error) {
    ShowErrorReport(context_.Questions, ErrorText(error));
    return;
  }
  engine_.SetPrecision(decimals);
  const FunctionEntry entry = document_->Functions[index];
  // Building lets pending input through; a second OK meanwhile must not start a nested build.
  building_ = true;
  BuildValueTable(context_, engine_, projectWindow_->windowTitle(), document_->Settings,
                  entry.StepWidth, entry.Expression);
  building_ = false;
  accept();
}

void TForm5::Button2Click() {
  reject();
}

void TForm5::Button3Click() {
  context_.Questions.ShowHelp("Wertetabelle anzeigen");
}

void TForm5::Edit1Exit() {
  const int32_t decimals = ClampedDecimals(Edit1->text());
  Edit1->setText(QString::number(decimals));
  UpDown1->SetPosition(decimals);
}

void TForm5::UpDown1Click() {
  Edit1->setText(QString::number(UpDown1->Position()));
}

bool TForm5::FormKeyDown(int key) {
  return HandleDialogKey(key, {.Confirm = [this] { Button1Click(); },
                               .Help = [this] { Button3Click(); },
                               .Cancel = [this] { Button2Click(); }});
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    return FormKeyDown(static_cast<QKeyEvent*>(event)->key());
  }
  return QDialog::eventFilter(watched, event);
}
