#include "ui/graph/GraphWindow.h"

#include <QAction>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <cmath>
#include <optional>
#include <stdexcept>

#include "engine/QelParser.h"
#include "graph/Bitmap.h"
#include "graph/BmpWriter.h"
#include "graph/GraphRenderer.h"
#include "graph/JpegWriter.h"
#include "graph/OutputOptions.h"
#include "graph/PictureFormat.h"
#include "graph/PngWriter.h"
#include "graph/VectorWriter.h"
#include "platform/Conversions.h"
#include "project/ProjectDocument.h"
#include "ui/graph/CurvePointsWindow.h"
#include "ui/graph/GraphPointer.h"
#include "ui/graph/OutputOptionsDialog.h"
#include "ui/graph/VectorPrint.h"
#include "ui/platform/PathText.h"
#include "ui/platform/QtColor.h"
#include "ui/shell/AppInfo.h"
#include "ui/shell/ErrorReport.h"
#include "ui/shell/FieldHabits.h"

namespace {

constexpr double kMarkerDiameter = 7;

// The save dialog's filter entries in their order, counted from 1; any other index is JPEG's.
PictureFormat FilterFormat(int filterIndex) {
  constexpr PictureFormat kEntries[] = {PictureFormat::Jpeg, PictureFormat::Bmp, PictureFormat::Png,
                                        PictureFormat::Svg, PictureFormat::Pdf};
  return filterIndex >= 1 && filterIndex <= 5 ? kEntries[filterIndex - 1] : PictureFormat::Jpeg;
}

// Writes a line of text with its top left corner at (x, y).
void TextOut(QPainter& canvas, int x, int y, const QString& text) {
  canvas.drawText(QPoint(x, y + canvas.fontMetrics().ascent()), text);
}

// The pixels of `part`, which lies inside the picture, as an image sharing them.
QImage PicturePart(const Bitmap& picture, const QRect& part) {
  const uint8_t* first = picture.Row(part.y()) + static_cast<ptrdiff_t>(part.x()) * 3;
  return QImage(first, part.width(), part.height(), static_cast<qsizetype>(picture.Stride()),
                QImage::Format_RGB888);
}

}  // namespace

TGraphImage::TGraphImage(QWidget* parent) : QWidget(parent) {
  setObjectName("Image1");
  // Every exposed pixel is painted: what lies below need not be.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

// A ring around the middle of the marker's pixel, in the display's scale.
void TGraphImage::DrawMarker(QPainter& painter, const CurveMarker& marker, double diameter) const {
  const double scaleX = static_cast<double>(width()) / Picture->Width();
  const double scaleY = static_cast<double>(height()) / Picture->Height();
  const QPointF centre((std::floor(static_cast<double>(marker.Column)) + 0.5) * scaleX,
                       (std::floor(static_cast<double>(marker.Row)) + 0.5) * scaleY);
  painter.setPen(QPen(ColorFromValue(static_cast<uint32_t>(marker.Color)), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(centre, diameter / 2, diameter / 2);
}

void TGraphImage::DrawLabels(QPainter& painter) const {
  const double scaleX = static_cast<double>(width()) / Picture->Width();
  const double scaleY = static_cast<double>(height()) / Picture->Height();
  for (size_t i = 0; i < Markers.size() && i < Labels.size(); ++i) {
    if (!Labels[i]) continue;
    const LabelBox& box = *Labels[i];
    painter.setPen(ColorFromValue(static_cast<uint32_t>(Markers[i].Color)));
    painter.drawText(QRectF(box.Left * scaleX, box.Top * scaleY, box.Width, box.Height),
                     Qt::AlignCenter, QString::fromStdString(Markers[i].Label));
  }
}

// Only the exposed part is converted and drawn: the picture is repainted often while it grows, and
// a window larger than the frame's area shows only a part of it.
void TGraphImage::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  if (Picture == nullptr || Picture->Width() <= 0 || Picture->Height() <= 0) {
    painter.fillRect(exposed, palette().brush(backgroundRole()));
    return;
  }
  const QRect whole(0, 0, Picture->Width(), Picture->Height());
  if (size() == whole.size()) {
    const QRect part = exposed & whole;
    if (!part.isEmpty()) painter.drawImage(part.topLeft(), PicturePart(*Picture, part));
  } else {
    const QTransform toPicture =
        QTransform::fromScale(static_cast<double>(whole.width()) / width(),
                              static_cast<double>(whole.height()) / height());
    painter.drawImage(QRectF(exposed), PicturePart(*Picture, whole),
                      toPicture.mapRect(QRectF(exposed)));
  }
  painter.setRenderHint(QPainter::Antialiasing);
  for (const CurveMarker& marker : Markers) DrawMarker(painter, marker, kMarkerDiameter);
  DrawLabels(painter);
  if (Trace) DrawMarker(painter, *Trace, 11);
}

struct TGraph::Drawing : DrawnFrom {};

TGraph::TGraph(const ChildContext& context, QPrinter& printer, TForm2& form2)
    : ChildForm(context.Area, "Graph"),
      Image1(new TGraphImage(this)),
      Pointer(new GraphPointer(*Image1, *this)),
      Kopieren1(new QAction(QStringLiteral("&Kopieren"), this)),
      questions_(context.Questions),
      printer_(printer),
      form2_(form2) {
  connect(Pointer, &GraphPointer::StatusText, this, &ChildForm::StatusText);
  connect(Pointer, &GraphPointer::GeometryChanged, this, &TGraph::PlaceMarkers);
  setWindowTitle("Graph");
  setWidget(Image1);
  SaveDialog1.Title = QStringLiteral("Graphen speichern unter");
  SaveDialog1.Filter = QStringLiteral(
      "JPEG-Format|*.jpg|BMP-Format (Windows)|*.bmp|PNG-Format (verlustfrei)|*.png|"
      "SVG-Vektorgrafik|*.svg|PDF-Dokument|*.pdf");
  SaveDialog1.FilterIndex = 1;
  SaveDialog1.DefaultExt = QStringLiteral("jpg");
  SaveDialog1.AskBeforeReplacing = true;
  ChildMenuSpec menu;
  menu.ContextHelpTopic = QStringLiteral("Funktionsgraphen anzeigen");
  menu.Own = {{MenuItem::Graphenspeichernunter1, [this] { Graphenspeichernunter1Click(); }},
              {MenuItem::Graphendrucken1, [this] { Graphendrucken1Click(); }}};
  menus_ = StandardMenus::ForChild(*this, context, menu);
  AddCurveDiscussion(
      *menus_.Graph, *Image1, context, *this,
      [this]() -> const DrawnFrom* { return drawing_.get(); },
      [this](std::vector<PointList> lists) { MarkPoints(std::move(lists)); });
  AddCopyItem();
  show();
}

void TGraph::AddCopyItem() {
  auto* separator = new QAction(this);
  separator->setSeparator(true);
  Image1->addAction(separator);
  Kopieren1->setObjectName("Kopieren1");
  Kopieren1->setShortcut(QKeySequence::Copy);
  Kopieren1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  connect(Kopieren1, &QAction::triggered, this, &TGraph::Kopieren1Click);
  Image1->addAction(Kopieren1);
}

bool TGraph::event(QEvent* event) {
  const bool key = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
  if (key && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    event->accept();
    if (event->type() == QEvent::KeyPress) Kopieren1->trigger();
    return true;
  }
  return ChildForm::event(event);
}

// Pictures go as pixels for painting programs and as a drawing for those that keep lines and text
// sharp at any size. Where the vector writer cannot be loaded, the pixels go alone.
void TGraph::Kopieren1Click() {
  const Bitmap& picture = Picture();
  if (picture.Width() <= 0 || picture.Height() <= 0) return;
  auto* data = new QMimeData;
  data->setImageData(PicturePart(picture, QRect(0, 0, picture.Width(), picture.Height())).copy());
  try {
    data->setData(QStringLiteral("image/svg+xml"),
                  QByteArray::fromStdString(EncodeSvg(VectorCopy())));
  } catch (const VectorError&) {
  }
  QGuiApplication::clipboard()->setMimeData(data);
}

TGraph::~TGraph() = default;

// The marks stay over a zoom of the same functions; other functions are discussed afresh.
void TGraph::KeepDrawing(const ProjectDocument& project, const TQelParser& engine) {
  if (drawing_ && drawing_->Project.Functions != project.Functions) MarkPoints({});
  drawing_ = std::make_unique<Drawing>(Drawing{{project, engine}});
  tracer_ = std::make_unique<CurveTracer>(project, engine);
  Pointer->SetTracer(tracer_.get());
}

void TGraph::MarkPoints(std::vector<PointList> lists) {
  marked_ = std::move(lists);
  PlaceMarkers();
}

void TGraph::PlaceMarkers() {
  const std::optional<PlotGeometry>& frame = Pointer->Geometry();
  Image1->Markers = drawing_ && frame ? PointMarkers(marked_, drawing_->Project, *frame)
                                      : std::vector<CurveMarker>{};
  Image1->Labels.clear();
  if (frame) {
    const QFontMetricsF metrics(Image1->font());
    std::vector<LabelBox> sizes;
    for (const CurveMarker& marker : Image1->Markers) {
      const QRectF text = metrics.boundingRect(QString::fromStdString(marker.Label));
      sizes.push_back({0, 0, std::ceil(text.width()) + 2, std::ceil(metrics.height())});
    }
    Image1->Labels = PlaceLabels(Image1->Markers, sizes, *frame, kMarkerDiameter / 2);
  }
  Image1->update();
}

void TGraph::ReplacePicture(Bitmap&& picture) {
  const QSize before(Picture().Width(), Picture().Height());
  *picture_ = std::move(picture);
  const QSize now(picture_->Width(), picture_->Height());
  if (now != before) resize(now + size() - Image1->size());
  Image1->update();
}

Bitmap& TGraph::Picture() {
  if (!picture_) {
    picture_ = std::make_unique<Bitmap>(Image1->width(), Image1->height());
    Image1->Picture = picture_.get();
  }
  return *picture_;
}

Bitmap& TGraph::ShowPicture(int32_t width, int32_t height) {
  showNormal();
  if (layout()) layout()->activate();
  resize(QSize(width, height) + size() - Image1->size());
  if (layout()) layout()->activate();
  picture_ = std::make_unique<Bitmap>(width, height);
  Image1->Picture = picture_.get();
  return *picture_;
}

void TGraph::Graphenspeichernunter1Click() {
  if (!RefuseEmptyPicture()) return;
  const std::optional<FileChoice> choice = questions_.SaveFile(this, SaveDialog1);
  if (!choice) return;
  try {
    SavePicture(*choice);
  } catch (const std::exception& error) {
    ShowErrorReport(questions_, FileErrorText(error));
  }
}

// A picture without pixels makes a file that no viewer opens, whatever its format; nothing is
// written then and the user learns why.
bool TGraph::RefuseEmptyPicture() {
  const Bitmap& picture = Picture();
  if (picture.Width() > 0 && picture.Height() > 0) return true;
  questions_.Message(
      this, kMessageCaption,
      QStringLiteral("Das Bild des Graphen ist %1 x %2 Pixel groß und kann nicht gespeichert "
                     "werden.\nWählen Sie eine größere Ausgabegröße und erstellen Sie den Graphen "
                     "neu.")
          .arg(picture.Width())
          .arg(picture.Height()),
      {PromptButton::Ok}, PromptIcon::Exclamation);
  return false;
}

// A typed extension names the format; the chosen filter entry decides for any other name.
void TGraph::SavePicture(const FileChoice& choice) {
  const std::string path = PathString(choice.Path);
  switch (PictureFormatToWrite(path, FilterFormat(choice.FilterIndex))) {
    case PictureFormat::Bmp:
      return WriteBmpFile(path, Picture());
    case PictureFormat::Png:
      return WritePngFile(path, Picture());
    case PictureFormat::Svg:
      return WriteSvgFile(path, VectorCopy());
    case PictureFormat::Pdf:
      return WritePdfFile(path, VectorCopy());
    case PictureFormat::Jpeg:
      break;
  }
  if (const std::optional<int> quality = form2_.AskJpegQuality())
    WriteJpegFile(path, Picture(), *quality);
}

// The drawing made again at the picture's size, silently: its messages were shown when the picture
// was drawn. A drawing that ended by an error keeps what was drawn, as the picture does.
VectorPicture TGraph::VectorCopy() {
  VectorPicture copy(Picture().Width(), Picture().Height());
  if (!drawing_) return copy;
  const bool cancelled = false;
  try {
    GraphRenderer(drawing_->Project, drawing_->Engine, copy, cancelled, {}, {});
  } catch (const ConvertError&) {
  } catch (const EngineError&) {
  }
  return copy;
}

// Numbers, legend and smooth or exact curves are meant to be read on paper: such a graph is drawn
// again as lines and text, sharp at the printer's resolution. A plain graph prints its own pixels,
// as it always has.
bool TGraph::PrintsFinely() const {
  if (!drawing_) return false;
  const ProjectSettings& s = drawing_->Project.Settings;
  return s.AxisNumbers || s.Legend || s.SmoothCurves || s.ExactCurves;
}

void TGraph::Graphendrucken1Click() {
  const Bitmap& picture = Picture();
  const QSize page = PrinterPageSize(printer_);
  const std::optional<PrintSize> size =
      form2_.AskPrintSize(picture.Width(), picture.Height(), page.width(), page.height());
  if (!size) return;
  try {
    Print(size->Width, size->Height);
  } catch (const std::exception& error) {
    ShowErrorReport(questions_, FileErrorText(error));
  }
}

// One page: the picture centred at the chosen size, then the two header lines on top of it. The
// page is measured again because the options dialog may have changed the printer.
void TGraph::Print(int32_t width, int32_t height) {
  QPrinter& printer = printer_;
  const PdfOutput pdf(printer);
  const QSize page = PrinterPageSize(printer);
  const PagePosition at = CentreOnPage(page.width(), page.height(), width, height);
  // Drawn before the job begins, so a drawing that fails opens no job.
  std::optional<VectorPicture> fine;
  if (PrintsFinely()) fine = VectorCopy();
  QPainter canvas;
  if (!canvas.begin(&printer)) throw std::runtime_error("Der Druckauftrag kann nicht beginnen");
  if (fine) {
    PaintVectorPicture(canvas, *fine, QRectF(at.X, at.Y, width, height));
  } else {
    PrintDIB1.StretchDrawDIB(canvas, at.X, at.Y, width, height, Picture());
  }
  QFont font = DialogFont();
  font.setPointSize(10);
  canvas.setFont(font);
  canvas.setPen(Qt::blue);
  TextOut(canvas, 10, 20, QStringLiteral("Qel Graphics 4.1"));
  font.setPointSize(8);
  canvas.setFont(font);
  canvas.setPen(Qt::black);
  TextOut(canvas, 10, 100, windowTitle());
  if (!canvas.end()) throw std::runtime_error("Der Druckauftrag ist fehlgeschlagen");
  if (!pdf.Path().isEmpty()) {
    questions_.Message(this, kMessageCaption,
                       "Der Graph wurde als PDF-Datei gespeichert:\n" + pdf.Path(),
                       {PromptButton::Ok}, PromptIcon::Information);
  }
}
