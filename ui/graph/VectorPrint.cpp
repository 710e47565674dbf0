#include "ui/graph/VectorPrint.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <variant>

#include "graph/PathClip.h"
#include "graph/VectorPicture.h"
#include "ui/platform/QtColor.h"

namespace {

// Far-off ends are cut at a margin round the picture: a printer's page description takes no
// coordinates of 2^61.
constexpr long double kMargin = 8;

template <typename Points, typename At>
QPainterPath PathThrough(const Points& points, At at, const ClipBounds& box) {
  QPainterPath path;
  const auto point = [](const ClipVertex& v) {
    return QPointF(static_cast<double>(v.X), static_cast<double>(v.Y));
  };
  bool joined = false;
  for (size_t i = 0; i < points.size(); ++i) {
    const ClipVertex a = at(points[i == 0 ? 0 : i - 1]), b = at(points[i]);
    const auto part = ClipSegment(a, b, box);
    if (!part) {
      joined = false;
      continue;
    }
    if (!joined || part->first.X != a.X || part->first.Y != a.Y) path.moveTo(point(part->first));
    path.lineTo(point(part->second));
    joined = part->second.X == b.X && part->second.Y == b.Y;
  }
  return path;
}

void Stroke(QPainter& painter, const QPainterPath& path, int32_t color, double width,
            Qt::PenCapStyle cap) {
  painter.strokePath(path, QPen(ColorFromValue(static_cast<uint32_t>(color)), width, Qt::SolidLine,
                                cap, Qt::RoundJoin));
}

// A thick line is the thin one and the same one row lower.
void PaintPolyline(QPainter& painter, const VectorPicture::Polyline& line, const ClipBounds& box) {
  for (int row = 0; row < (line.Thick ? 2 : 1); ++row) {
    const double down = 0.5 + row;
    const auto at = [down](const VectorPicture::Point& p) {
      return ClipVertex{p.X + 0.5L, p.Y + static_cast<long double>(down)};
    };
    Stroke(painter, PathThrough(line.Points, at, box), line.Color, 1, Qt::SquareCap);
  }
}

void PaintLabel(QPainter& painter, const VectorPicture::Label& label) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(std::lround(label.Line.Size)));
  font.setHintingPreference(QFont::PreferNoHinting);
  painter.setFont(font);
  painter.setPen(ColorFromValue(static_cast<uint32_t>(label.Color)));
  // The core places a line by the top left of its layout, as the text is drawn there.
  painter.drawText(QRectF(label.Line.X, label.Line.Y, 1e6, 1e6), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(label.Line.Text));
}

void PaintShape(QPainter& painter, const VectorPicture::Shape& shape, const ClipBounds& box) {
  const auto inside = [&box](long double v, bool across) {
    return static_cast<double>(
        std::clamp(v, across ? box.Left : box.Top, across ? box.Right : box.Bottom));
  };
  if (const auto* dot = std::get_if<VectorPicture::Dot>(&shape)) {
    if (inside(dot->At.X, true) != dot->At.X || inside(dot->At.Y, false) != dot->At.Y) return;
    painter.fillRect(QRectF(static_cast<double>(dot->At.X), static_cast<double>(dot->At.Y), 1, 1),
                     ColorFromValue(static_cast<uint32_t>(dot->Color)));
  } else if (const auto* line = std::get_if<VectorPicture::Polyline>(&shape)) {
    PaintPolyline(painter, *line, box);
  } else if (const auto* smooth = std::get_if<VectorPicture::SmoothLine>(&shape)) {
    const auto at = [](const FinePoint& p) { return ClipVertex{p.X, p.Y}; };
    Stroke(painter, PathThrough(smooth->Points, at, box), smooth->Color, smooth->Width,
           Qt::RoundCap);
  } else if (const auto* fill = std::get_if<VectorPicture::Box>(&shape)) {
    painter.fillRect(QRectF(QPointF(inside(fill->Left, true), inside(fill->Top, false)),
                            QPointF(inside(fill->Right, true), inside(fill->Bottom, false))),
                     ColorFromValue(static_cast<uint32_t>(fill->Color)));
  } else if (const auto* label = std::get_if<VectorPicture::Label>(&shape)) {
    PaintLabel(painter, *label);
  }
}

}  // namespace

void PaintVectorPicture(QPainter& painter, const VectorPicture& picture, const QRectF& target) {
  if (picture.Width() <= 0 || picture.Height() <= 0) return;
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / picture.Width(), target.height() / picture.Height());
  const QRectF whole(0, 0, picture.Width(), picture.Height());
  painter.setClipRect(whole);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(whole, ColorFromValue(static_cast<uint32_t>(picture.Background())));
  const ClipBounds box{-kMargin, -kMargin, picture.Width() + kMargin, picture.Height() + kMargin};
  for (const VectorPicture::Shape& shape : picture.Shapes()) PaintShape(painter, shape, box);
  painter.restore();
}
