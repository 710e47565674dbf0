#include "ui/graph/GraphPointer.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
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
constexpr long double kTraceReach = 8;  // pixels from a curve within which the pointer traces it

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
  image.setFocusPolicy(Qt::StrongFocus);
  image.installEventFilter(this);
}

void GraphPointer::SetGeometry(const PlotGeometry& geometry, const ZoomLimits& limits) {
  geometry_ = geometry;
  limits_ = limits;
  HideTrace();
  emit GeometryChanged();
}

void GraphPointer::SetTracer(CurveTracer* tracer) {
  tracer_ = tracer;
  HideTrace();
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
    ranges = ScaledRanges(*geometry_, at->x(), at->y(), factor, limits_);
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
    case QEvent::KeyPress:
      if (Key(static_cast<QKeyEvent*>(event)->key())) return true;
      break;
    case QEvent::Leave:
      noticeUp_ = false;
      HideTrace();
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
  if (!pixel || noticeUp_ || Trace(*pixel)) return;
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
                      to->y(), kClickPixels, limits_);
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

// Snaps to the curve nearest the pointer at its column; false where none is near.
bool GraphPointer::Trace(QPointF pixel) {
  if (tracer_ == nullptr) return false;
  const auto column = static_cast<int64_t>(pixel.x());
  const std::vector<CurveValue> values = tracer_->At(*geometry_, column);
  const std::optional<size_t> nearest =
      NearestCurve(values, *geometry_, pixel.y() + 0.5L, kTraceReach);
  if (!nearest) {
    HideTrace();
    return false;
  }
  ShowTrace(column, values[*nearest]);
  return true;
}

void GraphPointer::ShowTrace(int64_t column, const CurveValue& value) {
  traceColumn_ = column;
  traced_ = value;
  image_.Trace =
      CurveMarker{static_cast<long double>(column), YRow(*geometry_, value.Value), value.Color, {}};
  image_.update();
  emit StatusText(Text(TraceReadout(*geometry_, value, column)));
}

void GraphPointer::HideTrace() {
  traceColumn_.reset();
  if (!image_.Trace) return;
  image_.Trace.reset();
  image_.update();
}

bool GraphPointer::Key(int key) {
  if (!traceColumn_) return false;
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      StepAlong(key == Qt::Key_Left ? -1 : 1);
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      SwitchCurve(key == Qt::Key_Up);
      return true;
    default:
      return false;
  }
}

// One column on, or past the columns where the traced curve has no value; at the picture's edge
// it stays.
void GraphPointer::StepAlong(int64_t direction) {
  for (int64_t column = *traceColumn_ + direction; column >= 0 && column < geometry_->W;
       column += direction) {
    for (const CurveValue& value : tracer_->At(*geometry_, column)) {
      if (value.SameCurve(traced_)) return ShowTrace(column, value);
    }
  }
}

// To the curve next above (or below) the traced value at the same column.
void GraphPointer::SwitchCurve(bool up) {
  std::optional<CurveValue> next;
  for (const CurveValue& value : tracer_->At(*geometry_, *traceColumn_)) {
    const bool beyond = up ? value.Value > traced_.Value : value.Value < traced_.Value;
    const bool closer = !next || (up ? value.Value < next->Value : value.Value > next->Value);
    if (beyond && closer) next = value;
  }
  if (next) ShowTrace(*traceColumn_, *next);
}
