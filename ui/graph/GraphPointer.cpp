#include "ui/graph/GraphPointer.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <cmath>
#include <utility>

#include "graph/Bitmap.h"
#include "ui/graph/GraphWindow.h"

namespace {

constexpr long double kClickPixels = 3;  // a rectangle no larger than this is a click
constexpr int kWheelNotch = 120;

const char* const kExplanation =
    "Ziehen Sie mit der linken Maustaste ein Rechteck um den Ausschnitt, den Sie vergrößern "
    "möchten; das Mausrad vergrößert und verkleinert um den Mauszeiger.";
const char* const kGoneNotice =
    "Der Ausschnitt kann nicht mehr geändert werden: Das Projekt dieses Graphen ist geschlossen.";
const char* const kLimitNotice =
    "Der Ausschnitt kann nicht weiter vergrößert oder verkleinert werden.";

QString Text(const std::string& ascii) {
  return QString::fromLatin1(ascii.data(), static_cast<qsizetype>(ascii.size()));
}

// A modal dialog (the progress of a drawing, a message) owns the input meanwhile.
bool Busy() {
  return QApplication::activeModalWidget() != nullptr;
}

}  // namespace

GraphPointer::GraphPointer(TGraphImage& image, QWidget& window)
    : QObject(&window),
      Ausschnittvergroessern1(new QAction(QStringLiteral("Ausschnitt vergrößern"), this)),
      Ansichtzurueck1(new QAction(QStringLiteral("Ansicht zurück"), this)),
      image_(image),
      band_(new QRubberBand(QRubberBand::Rectangle, &image)) {
  Ausschnittvergroessern1->setObjectName("Ausschnittvergroessern1");
  Ausschnittvergroessern1->setStatusTip(QString::fromUtf8(kExplanation));
  connect(Ausschnittvergroessern1, &QAction::triggered, this,
          [this] { emit StatusText(QString::fromUtf8(kExplanation)); });
  Ansichtzurueck1->setObjectName("Ansichtzurueck1");
  Ansichtzurueck1->setShortcut(QKeySequence(Qt::Key_Backspace));
  Ansichtzurueck1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  Ansichtzurueck1->setEnabled(false);
  connect(Ansichtzurueck1, &QAction::triggered, this, &GraphPointer::AnsichtzurueckClick);
  window.addAction(Ansichtzurueck1);
  image.addAction(Ausschnittvergroessern1);
  image.addAction(Ansichtzurueck1);
  image.setContextMenuPolicy(Qt::ActionsContextMenu);
  image.setMouseTracking(true);
  image.installEventFilter(this);
}

void GraphPointer::SetGeometry(const PlotGeometry& geometry) {
  geometry_ = geometry;
}

void GraphPointer::Link(bool canStepBack) {
  linked_ = true;
  Ansichtzurueck1->setEnabled(canStepBack);
}

void GraphPointer::Unlink() {
  linked_ = false;
  pendingNotches_ = pendingBack_ = 0;
  Ansichtzurueck1->setEnabled(false);
  Ausschnittvergroessern1->setEnabled(false);
  band_->hide();
  dragFrom_.reset();
}

bool GraphPointer::CanZoom() const {
  return geometry_ && linked_;
}

// Tells once why nothing zooms any more; the notice stays until the pointer leaves the picture.
bool GraphPointer::ExplainWhenGone() {
  if (!geometry_ || CanZoom()) return false;
  if (!noticeShown_) {
    noticeShown_ = noticeUp_ = true;
    emit StatusText(QString::fromUtf8(kGoneNotice));
  }
  return true;
}

void GraphPointer::AnsichtzurueckClick() {
  if (Busy() || ExplainWhenGone() || !CanZoom()) return;
  ++pendingBack_;
  AskPending();
}

// Asks from the event loop rather than from inside the input handler: the frame draws before the
// signal returns, and that drawing lets input through, which then finds this handler done. What
// arrives until the asking runs is added up into it.
void GraphPointer::AskPending() {
  if (busy_ || !CanZoom() || (pendingBack_ == 0 && !pendingRectangle_ && pendingNotches_ == 0))
    return;
  busy_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (CanZoom()) AskNow();
        busy_ = false;
        AskPending();
      },
      Qt::QueuedConnection);
}

// The steps back first, then a dragged rectangle, then the wheel's notches around where the
// pointer was last.
void GraphPointer::AskNow() {
  if (pendingBack_ > 0) {
    emit ZoomBackWanted(std::exchange(pendingBack_, 0));
    return;
  }
  std::optional<ViewRanges> ranges = std::exchange(pendingRectangle_, std::nullopt);
  if (!ranges) {
    const std::optional<QPointF> at = FramePosition(pendingAt_);
    const long double factor = std::pow(0.5L, std::exchange(pendingNotches_, 0));
    if (!at) return;
    ranges = ScaledRanges(*geometry_, at->x(), at->y(), factor);
  }
  if (!ranges) {
    emit StatusText(QString::fromUtf8(kLimitNotice));
    return;
  }
  emit ZoomWanted({Text(ranges->XFrom), Text(ranges->XTo), Text(ranges->YFrom), Text(ranges->YTo)});
}

bool GraphPointer::eventFilter(QObject* watched, QEvent* event) {
  if (watched != &image_ || Busy()) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseMove:
      Drag(*static_cast<QMouseEvent*>(event));
      break;
    case QEvent::MouseButtonPress:
      Press(*static_cast<QMouseEvent*>(event));
      break;
    case QEvent::MouseButtonRelease:
      Release(*static_cast<QMouseEvent*>(event));
      break;
    case QEvent::Wheel:
      Wheel(*static_cast<QWheelEvent*>(event));
      return true;
    case QEvent::Leave:
      noticeUp_ = false;
      emit StatusText({});
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

// The picture pixel under a position of the image, through the display's scaling.
std::optional<QPointF> GraphPointer::FramePosition(QPointF at) const {
  const Bitmap* picture = image_.Picture;
  if (!geometry_ || !picture || image_.width() <= 0 || image_.height() <= 0) return std::nullopt;
  return QPointF(std::floor(at.x() * picture->Width() / image_.width()),
                 std::floor(at.y() * picture->Height() / image_.height()));
}

void GraphPointer::ShowReadout(QPointF at) {
  const std::optional<QPointF> pixel = FramePosition(at);
  if (!pixel || noticeUp_) return;
  emit StatusText(Text(PointerReadout(*geometry_, pixel->x(), pixel->y())));
}

void GraphPointer::Press(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton || ExplainWhenGone() || !CanZoom()) return;
  dragFrom_ = event.position().toPoint();
  band_->setGeometry(QRect(*dragFrom_, QSize()));
  band_->show();
}

void GraphPointer::Drag(QMouseEvent& event) {
  ShowReadout(event.position());
  if (dragFrom_) band_->setGeometry(QRect(*dragFrom_, event.position().toPoint()).normalized());
}

void GraphPointer::Release(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton || !dragFrom_) return;
  band_->hide();
  const std::optional<QPointF> from = FramePosition(*dragFrom_);
  const std::optional<QPointF> to = FramePosition(event.position());
  dragFrom_.reset();
  if (!from || !to || !CanZoom()) return;
  const Bitmap& picture = *image_.Picture;
  const std::optional<ViewRanges> ranges =
      RectangleRanges(*geometry_, picture.Width(), picture.Height(), from->x(), from->y(), to->x(),
                      to->y(), kClickPixels);
  if (!ranges || busy_) return;
  pendingRectangle_ = ranges;
  AskPending();
}

// Each notch halves (forward) or doubles (backward) the ranges around the value under the pointer;
// fine-grained wheels add up to a notch first.
void GraphPointer::Wheel(QWheelEvent& event) {
  event.accept();
  if (ExplainWhenGone() || !CanZoom()) return;
  wheelAngle_ += event.angleDelta().y();
  const int64_t notches = wheelAngle_ / kWheelNotch;
  if (notches == 0) return;
  wheelAngle_ -= notches * kWheelNotch;
  pendingNotches_ += notches;
  pendingAt_ = event.position();
  AskPending();
}
