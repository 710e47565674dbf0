#include "ui/graph/OutputOptionsDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "platform/Conversions.h"
#include "ui/graph/PrintDib.h"
#include "ui/platform/Prompts.h"
#include "ui/platform/Windows1252Text.h"
#include "ui/shell/DialogHabits.h"
#include "ui/shell/ErrorReport.h"
#include "ui/shell/FieldHabits.h"
#include "ui/shell/FrameFields.h"

namespace {

QLabel* Label(QWidget* parent, const QString& text, int x, int y, int w, int h) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(x, y, w, h);
  return label;
}

QPushButton* CommandButton(QWidget* parent, const QString& text, int y) {
  return NewDialogButton(parent, text, QRect(330, y, 91, 28));
}

QLineEdit* Field(QWidget* parent, int x, int y, int w) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(x, y, w, 22);
  return edit;
}

}  // namespace

TForm2::TForm2(Prompts& questions, FrameFields& fields, QPrinter& printer, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      questions_(questions),
      fields_(fields),
      printer_(printer) {
  setObjectName("Form2");
  setFixedSize(429, 231);
  setModal(true);
  BuildPanel1();
  BuildPanel2();
  BuildButtons();
  PreviewKeys(*this, *this);
  exits_ = std::make_unique<FieldExits>(FieldExits::Exits{{Edit1, [this] { Edit1Exit(); }},
                                                          {Edit2, [this] { Edit2Exit(); }},
                                                          {Edit3, [this] { Edit3Exit(); }}});
  connect(qApp, &QApplication::focusChanged, this, &TForm2::FocusChanged);
}

void TForm2::BuildPanel1() {
  Panel1 = new QFrame(this);
  Panel1->setGeometry(8, 8, 313, 215);
  Label(Panel1, QStringLiteral("niedriger Qualität"), 8, 8, 120, 16);
  Label(Panel1, QStringLiteral("hohe Qualität"), 208, 8, 97, 16)->setAlignment(Qt::AlignRight);
  TrackBar1 = new QSlider(Qt::Horizontal, Panel1);
  TrackBar1->setGeometry(8, 28, 297, 32);
  TrackBar1->setRange(1, 50);
  TrackBar1->setValue(30);
  TrackBar1->setTickInterval(1);
  TrackBar1->setTickPosition(QSlider::TicksBelow);
  Label(Panel1, QStringLiteral("kleine Datei"), 8, 64, 120, 16);
  Label(Panel1, QStringLiteral("große Datei"), 208, 64, 97, 16)->setAlignment(Qt::AlignRight);
  auto* text = Label(Panel1,
                     QStringLiteral("Wählen Sie eine höhere Qualitätsstufe, indem Sie den Schieber "
                                    "weiter auf die rechte Seite ziehen. Die Datei wird dabei "
                                    "proportional größer, je weiter der Schieber auf der rechten "
                                    "Seite steht."),
                     8, 96, 297, 80);
  text->setWordWrap(true);
}

void TForm2::BuildPanel2() {
  Panel2 = new QFrame(this);
  Panel2->setGeometry(8, 8, 313, 215);
  Panel2->setAutoFillBackground(true);
  RadioButton1 = new QRadioButton(QStringLiteral("Vergrößern/Verkleinern"), Panel2);
  RadioButton1->setGeometry(8, 8, 170, 20);
  RadioButton1->setChecked(true);
  Edit1 = Field(Panel2, 184, 7, 48);
  Edit1->setText("100");
  UpDown1 = new UpDownArrows(Panel2, kMinPercent, kMaxPercent, 100);
  UpDown1->setGeometry(233, 7, 16, 22);
  connect(UpDown1, &UpDownArrows::Click, this, &TForm2::UpDown1Click);
  Label(Panel2, "%", 254, 10, 16, 16);
  RadioButton2 = new QRadioButton(QStringLiteral("Größe in Pixel : W x H :"), Panel2);
  RadioButton2->setGeometry(8, 48, 170, 20);
  Edit2 = Field(Panel2, 184, 47, 48);
  Label(Panel2, "X", 236, 50, 10, 16);
  Edit3 = Field(Panel2, 250, 47, 48);
  RadioButton3 = new QRadioButton(QStringLiteral("Auf Seite anpassen"), Panel2);
  RadioButton3->setGeometry(8, 88, 170, 20);
  CheckBox1 = new QCheckBox(QStringLiteral("Propoprtionen beibehalten"), Panel2);
  CheckBox1->setGeometry(8, 128, 200, 20);
  Button3 = NewDialogButton(Panel2, QStringLiteral("&Drucker Setup"), QRect(8, 176, 110, 28));
  connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
  connect(RadioButton3, &QRadioButton::clicked, this, &TForm2::RadioButton3Click);
  connect(CheckBox1, &QCheckBox::clicked, this, &TForm2::CheckBox1Click);
}

void TForm2::BuildButtons() {
  Button1 = CommandButton(this, QStringLiteral("&Ok           "), 8);
  Button2 = CommandButton(this, QStringLiteral("A&bbrechen"), 40);
  Button4 = CommandButton(this, QStringLiteral("&Hilfe           "), 72);
  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  connect(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);
}

std::optional<int> TForm2::AskJpegQuality() {
  FrameFields& shared = fields_;
  PrintMode = false;
  shared.SaveCancelled = false;
  ShowModal();
  if (shared.SaveCancelled) return std::nullopt;
  return shared.JpegQuality;
}

std::optional<PrintSize> TForm2::AskPrintSize(int32_t pictureWidth, int32_t pictureHeight,
                                              int32_t paperWidth, int32_t paperHeight) {
  FrameFields& shared = fields_;
  PrintMode = true;
  PictureWidth = pictureWidth;
  PictureHeight = pictureHeight;
  PaperWidth = paperWidth;
  PaperHeight = paperHeight;
  shared.PrintCancelled = false;
  ShowModal();
  if (shared.PrintCancelled) return std::nullopt;
  return PrintSize{shared.PrintWidth, shared.PrintHeight};
}

int TForm2::ShowModal() {
  return ExecCentred(*this);
}

void TForm2::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TForm2::FormShow() {
  if (!PrintMode) {
    setWindowTitle(QStringLiteral("JPEG Qualität"));
    Panel2->hide();
    return;
  }
  setWindowTitle(QStringLiteral("Graphen Drucken"));
  Panel2->show();
  Panel2->raise();
  PrintSizeFields fields = ReadFields();
  ResetPrintSize(fields);
  ShowFields(fields);
  RadioButton1->setChecked(true);
}

PrintSizeFields TForm2::ReadFields() const {
  PrintSizeFields f;
  f.PictureWidth = PictureWidth;
  f.PictureHeight = PictureHeight;
  f.PaperWidth = PaperWidth;
  f.PaperHeight = PaperHeight;
  f.Percent = Edit1->text().toLatin1().toStdString();
  f.Arrows = UpDown1->Position();
  f.Width = Edit2->text().toLatin1().toStdString();
  f.Height = Edit3->text().toLatin1().toStdString();
  f.KeepProportions = CheckBox1->isChecked();
  return f;
}

void TForm2::ShowFields(const PrintSizeFields& f) {
  Edit1->setText(QString::fromLatin1(f.Percent));
  UpDown1->SetPosition(f.Arrows);
  Edit2->setText(QString::fromLatin1(f.Width));
  Edit3->setText(QString::fromLatin1(f.Height));
  CheckBox1->setChecked(f.KeepProportions);
}

template <typename Rule>
void TForm2::Apply(Rule rule) {
  PrintSizeFields fields = ReadFields();
  rule(fields);
  ShowFields(fields);
}

void TForm2::Edit1Exit() {
  Apply(PercentLeft);
}
void TForm2::Edit2Exit() {
  Apply(WidthLeft);
}
void TForm2::Edit3Exit() {
  Apply(HeightLeft);
}

void TForm2::UpDown1Click() {
  Edit1->setText(QString::number(UpDown1->Position()));
  Edit1Exit();
  RadioButton1->setChecked(true);
}

void TForm2::RadioButton3Click() {
  Apply(FitToPage);
}

void TForm2::CheckBox1Click() {
  if (RadioButton3->isChecked()) RadioButton3Click();
  if (RadioButton2->isChecked()) Edit2Exit();
}

// A value typed into a field and confirmed at once must count as typed: the field is left first.
void TForm2::FinishFocusedEdit() {
  const QWidget* focused = QApplication::focusWidget();
  if (focused == Edit1) Edit1Exit();
  if (focused == Edit2) Edit2Exit();
  if (focused == Edit3) Edit3Exit();
}

void TForm2::Button1Click() {
  FinishFocusedEdit();
  FrameFields& shared = fields_;
  if (!PrintMode) {
    shared.JpegQuality = JpegQualityForSlider(TrackBar1->value());
  } else {
    try {
      const PrintSize size = ConfirmedPrintSize(ReadFields());
      shared.PrintWidth = size.Width;
      shared.PrintHeight = size.Height;
    } catch (const ConvertError& error) {
      ShowErrorReport(questions_, ErrorText(error));
      return;
    }
  }
  // Closing inverts both flags, so a confirmed dialog leaves them cleared.
  shared.PrintCancelled = true;
  shared.SaveCancelled = true;
  accept();
}

void TForm2::Button2Click() {
  reject();
}

void TForm2::Button4Click() {
  questions_.ShowHelp(QStringLiteral("Drucken / Speichern von Funkionsgraphen"));
}

void TForm2::Button3Click() {
  emit PrinterSetupWanted();
  const QSize page = PrinterPageSize(printer_);
  PaperWidth = page.width();
  PaperHeight = page.height();
  FormShow();
}

void TForm2::done(int result) {
  FormCloseQuery();
  QDialog::done(result);
}

// Every way of closing inverts both flags: the caller cleared its own before showing the dialog, so
// only Ok, which sets them first, leaves it cleared.
void TForm2::FormCloseQuery() {
  FrameFields& shared = fields_;
  shared.PrintCancelled = !shared.PrintCancelled;
  shared.SaveCancelled = !shared.SaveCancelled;
}

bool TForm2::FormKeyDown(int key) {
  return HandleDialogKey(key, {.Confirm = [this] { Button1Click(); },
                               .Help = [this] { Button4Click(); },
                               .Cancel = [this] { Button2Click(); }});
}

bool TForm2::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && isVisible() &&
      FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return QDialog::eventFilter(watched, event);
}

// Entering a field of a size chooses its radio button.
void TForm2::FocusChanged(QWidget*, QWidget* now) {
  if (now == Edit1) Edit1Enter();
  if (now == Edit2 || now == Edit3) Edit2Enter();
}

void TForm2::Edit1Enter() {
  RadioButton1->setChecked(true);
}
void TForm2::Edit2Enter() {
  RadioButton2->setChecked(true);
}
