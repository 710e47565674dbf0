#include "graph/GraphPointer.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>
#include <cmath>

#include "graph/Bitmap.h"
#include "graph/GraphWindow.h"
#include "shell/ChildForm.h"
#include "shell/FrameCommands.h"
#include "shell/GraphSource.h"

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

GraphPointer::GraphPointer(FrameCommands& frame, TGraphImage& image, QWidget& window)
    : QObject(&window),
      Ausschnittvergroessern1(new QAction(QStringLiteral("Ausschnitt vergrößern"), this)),
      Ansichtzurueck1(new QAction(QStringLiteral("Ansicht zurück"), this)),
      frame_(frame),
      image_(image),
      band_(new QRubberBand(QRubberBand::Rectangle, &image)) {
  Ausschnittvergroessern1->setObjectName("Ausschnittvergroessern1");
  Ausschnittvergroessern1->setStatusTip(QString::fromUtf8(kExplanation));
  connect(Ausschnittvergroessern1, &QAction::triggered, this,
          [this] { frame_.ShowStatusText(QString::fromUtf8(kExplanation)); });
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

void GraphPointer::Attach(ChildForm* editor, const PlotGeometry& geometry) {
  geometry_ = geometry;
  editor_ = editor;
  source_ = dynamic_cast<GraphSource*>(editor);
  if (!source_) return;
  connect(editor, &QObject::destroyed, this, &GraphPointer::SourceGone);
  Ansichtzurueck1->setEnabled(source_->CanZoomBack());
}

bool GraphPointer::CanZoom() const {
  return geometry_ && editor_ && source_;
}

void GraphPointer::SourceGone() {
  source_ = nullptr;
  Ansichtzurueck1->setEnabled(false);
  Ausschnittvergroessern1->setEnabled(false);
  band_->hide();
  dragFrom_.reset();
}

// Tells once why nothing zooms any more; the notice stays until the pointer leaves the picture.
bool GraphPointer::ExplainWhenGone() {
  if (!geometry_ || CanZoom()) return false;
  if (!noticeShown_) {
    noticeShown_ = noticeUp_ = true;
    frame_.ShowStatusText(QString::fromUtf8(kGoneNotice));
  }
  return true;
}

void GraphPointer::AnsichtzurueckClick() {
  if (Busy() || ExplainWhenGone() || !CanZoom()) return;
  Hand([](GraphSource& source) { source.ZoomBack(); });
}

// Drawing again closes this window, so the editor goes on once this handler has returned. Until it
// has, this window's geometry is stale and nothing more is handed over.
void GraphPointer::Hand(std::function<void(GraphSource&)> act) {
  if (pending_) return;
  pending_ = true;
  QPointer<GraphPointer> self = this;
  GraphSource* source = source_;
  QMetaObject::invokeMethod(
      editor_,
      [self, source, act = std::move(act)] {
        act(*source);
        if (self) self->pending_ = false;
      },
      Qt::QueuedConnection);
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
      frame_.ShowStatusText({});
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
  frame_.ShowStatusText(Text(PointerReadout(*geometry_, pixel->x(), pixel->y())));
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
  if (ranges) Apply(ranges);
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
  const std::optional<QPointF> at = FramePosition(event.position());
  if (!at) return;
  const std::optional<ViewRanges> ranges =
      ScaledRanges(*geometry_, at->x(), at->y(), std::pow(0.5L, notches));
  Apply(ranges);
}

void GraphPointer::Apply(const std::optional<ViewRanges>& ranges) {
  if (!ranges) {
    frame_.ShowStatusText(QString::fromUtf8(kLimitNotice));
    return;
  }
  const RangeTexts texts{Text(ranges->XFrom), Text(ranges->XTo), Text(ranges->YFrom),
                         Text(ranges->YTo)};
  Hand([texts](GraphSource& source) { source.ZoomTo(texts); });
}
