#include "ui/app/AboutBox.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "ui/app/Icons.h"
#include "ui/platform/Prompts.h"
#include "ui/shell/AppInfo.h"

TAboutBox::TAboutBox(Prompts& prompts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), prompts_(prompts) {
  setObjectName("AboutBox");
  setWindowTitle("Über Qel Graphics");
  setFixedSize(350, 260);
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  setFont(font);

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel->setStyleSheet("QFrame#Panel1 { background: black; }");
  panel->setGeometry(8, 8, 95, 239);
  AddPicture(panel, "about-side", QRect(2, 2, 89, 234));
  AddPicture(this, "logo", QRect(104, 0, 225, 89));

  Label3 = AddText("Version 4.2 ", 112, 88, true);
  AddText("© 2026 Qel Graphics", 112, 108);
  AddPicture(this, "credits", QRect(112, 128, 49, 41));
  AddText("Rechnen mit 80 Bit", 152, 128)->setObjectName("Label4");
  AddText("JPEG: IJG-Bibliothek", 152, 144)->setObjectName("Label5");

  Comments = AddText(kWebSiteCaption, 112, 176);
  Comments->setObjectName("Comments");
  Comments->setStyleSheet("color: blue; text-decoration: underline;");
  Comments->setCursor(Qt::PointingHandCursor);
  Comments->setWordWrap(true);
  Comments->setFixedWidth(233);
  Comments->installEventFilter(this);

  auto* bevel = new QFrame(this);
  bevel->setObjectName("Bevel1");
  bevel->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  bevel->setGeometry(112, 208 + 17 - 2, 233, 2);
  AddText("Alle Rechte vorbehalten.", 112, 208)->setObjectName("Label2");

  OKButton = new QPushButton(SvgIcon("ok"), "&Schließen", this);
  OKButton->setObjectName("OKButton");
  OKButton->setFlat(true);
  OKButton->setGeometry(248, 232, 97, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);
}

QLabel* TAboutBox::AddText(const QString& text, int left, int top, bool bold) {
  auto* label = new QLabel(text, this);
  if (bold) {
    QFont heading = font();
    heading.setBold(true);
    heading.setPixelSize(13);
    label->setFont(heading);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

void TAboutBox::AddPicture(QWidget* parent, const QString& name, const QRect& place) {
  auto* picture = new QLabel(parent);
  picture->setGeometry(place);
  picture->setPixmap(SvgPixmap(name, place.size()));
}

void TAboutBox::CommentsClick() {
  prompts_.OpenUrl(QUrl(kWebSite));
}

void TAboutBox::OKButtonClick() {
  accept();
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Comments && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    CommentsClick();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}
