#include "graph/VectorWriter.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

#include "graph/PathClip.h"
#include "graph/TextLayout.h"
#include "platform/AtomicFile.h"

namespace {

using Point = VectorPicture::Point;
using Sink = std::function<void(std::string_view)>;

// Shapes beyond the picture are cut a few pixels outside it: the library's coordinates are
// fixed-point numbers that would overflow far away, and nothing there shows anyway.
constexpr long double kMargin = 4;
constexpr double kPointsPerPixel = 72.0 / 96.0;

class Painter {
 public:
  // With textAsElements the labels are left out, for the caller to write as text of the document.
  Painter(cairo_t* cr, const VectorPicture& picture, bool textAsElements)
      : cr_(cr),
        picture_(picture),
        box_{-kMargin, -kMargin, picture.Width() + kMargin, picture.Height() + kMargin},
        textAsElements_(textAsElements) {}

  void Paint() {
    SetColor(picture_.Background());
    cairo_rectangle(cr_, 0, 0, picture_.Width(), picture_.Height());
    cairo_fill(cr_);
    // Square caps cover a line's end pixels as the bitmap does; round joins keep sharp turns of a
    // curve from growing long mitre spikes.
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    const size_t runs = picture_.RunCount();
    // One fill and at most two strokes for each stretch of pixel runs of one colour keeps the
    // file small.
    for (size_t first = 0; first < runs;) {
      if (!picture_.IsPixelRun(first)) {
        picture_.VisitRun(first++, [&](const VectorPicture::Shape& shape) { PaintFine(shape); });
        continue;
      }
      const int32_t color = picture_.RunColor(first);
      size_t end = first;
      while (end < runs && picture_.IsPixelRun(end) && picture_.RunColor(end) == color) ++end;
      SetColor(color);
      PaintDots(first, end);
      PaintLines(first, end, false);
      PaintLines(first, end, true);
      first = end;
    }
  }

 private:
  void SetColor(int32_t color) {
    cairo_set_source_rgb(cr_, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
  }

  bool Inside(Point p) const {
    return p.X >= box_.Left && p.X <= box_.Right && p.Y >= box_.Top && p.Y <= box_.Bottom;
  }

  void PaintDots(size_t first, size_t end) {
    bool any = false;
    for (size_t run = first; run != end; ++run) {
      picture_.VisitRun(run, [&](const VectorPicture::Shape& shape) {
        const auto* dot = std::get_if<VectorPicture::Dot>(&shape);
        if (dot == nullptr || !Inside(dot->At)) return;
        cairo_rectangle(cr_, static_cast<double>(dot->At.X), static_cast<double>(dot->At.Y), 1, 1);
        any = true;
      });
    }
    if (any) cairo_fill(cr_);
  }

  // A thin line runs through the pixels' centres. A thick one, the bitmap's line and the same line
  // one row lower, runs half a pixel lower with a pen two pixels high.
  void PaintLines(size_t first, size_t end, bool thick) {
    bool any = false;
    for (size_t run = first; run != end; ++run) {
      picture_.VisitRun(run, [&](const VectorPicture::Shape& shape) {
        const auto* line = std::get_if<VectorPicture::Polyline>(&shape);
        if (line == nullptr || line->Thick != thick) return;
        std::vector<ClipVertex> vertices;
        vertices.reserve(line->Points.size());
        const long double down = thick ? 1.0L : 0.5L;
        for (const Point& p : line->Points) vertices.push_back({p.X + 0.5L, p.Y + down});
        any = AddPolyline(vertices) || any;
      });
    }
    if (!any) return;
    // The pen takes its shape from the scale in force when stroking: one pixel wide, and for a
    // thick line two high.
    cairo_save(cr_);
    if (thick) cairo_scale(cr_, 1, 2);
    cairo_set_line_width(cr_, 1);
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }

  void PaintFine(const VectorPicture::Shape& shape) {
    if (const auto* line = std::get_if<VectorPicture::SmoothLine>(&shape)) {
      PaintSmooth(*line);
    } else if (const auto* box = std::get_if<VectorPicture::Box>(&shape)) {
      SetColor(box->Color);
      const auto edge = [](int64_t v, long double lo, long double hi) {
        return static_cast<double>(std::clamp<long double>(v, lo, hi));
      };
      const double left = edge(box->Left, box_.Left, box_.Right);
      const double top = edge(box->Top, box_.Top, box_.Bottom);
      cairo_rectangle(cr_, left, top, edge(box->Right, box_.Left, box_.Right) - left,
                      edge(box->Bottom, box_.Top, box_.Bottom) - top);
      cairo_fill(cr_);
    } else if (const auto* label = std::get_if<VectorPicture::Label>(&shape)) {
      if (textAsElements_) return;
      SetColor(label->Color);
      ShowText(cr_, label->Line);
      cairo_new_path(cr_);
    }
  }

  void PaintSmooth(const VectorPicture::SmoothLine& line) {
    std::vector<ClipVertex> vertices;
    vertices.reserve(line.Points.size() + 1);
    for (const FinePoint& p : line.Points) vertices.push_back({p.X, p.Y});
    if (vertices.size() == 1) vertices.push_back(vertices.front());
    if (!AddPolyline(vertices)) return;
    SetColor(line.Color);
    cairo_save(cr_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr_, line.Width);
    cairo_stroke(cr_);
    cairo_restore(cr_);
  }

  bool AddPolyline(const std::vector<ClipVertex>& vertices) {
    bool any = false, joined = false;
    for (size_t i = 1; i < vertices.size(); ++i) {
      const ClipVertex a = vertices[i - 1], b = vertices[i];
      const auto part = ClipSegment(a, b, box_);
      if (!part) {
        joined = false;
        continue;
      }
      const bool cutAtStart = part->first.X != a.X || part->first.Y != a.Y;
      if (!joined || cutAtStart) {
        cairo_move_to(cr_, static_cast<double>(part->first.X), static_cast<double>(part->first.Y));
      }
      cairo_line_to(cr_, static_cast<double>(part->second.X), static_cast<double>(part->second.Y));
      joined = part->second.X == b.X && part->second.Y == b.Y;
      any = true;
    }
    return any;
  }

  cairo_t* cr_;
  const VectorPicture& picture_;
  ClipBounds box_;
  bool textAsElements_;
};

cairo_status_t Forward(void* closure, const unsigned char* data, unsigned int length) {
  (*static_cast<Sink*>(closure))(std::string_view(reinterpret_cast<const char*>(data), length));
  return CAIRO_STATUS_SUCCESS;
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Draws the picture onto the surface, in pixels scaled to the surface's units, and finishes it.
void Draw(Surface surface, const VectorPicture& picture, double scale, bool textAsElements) {
  cairo_t* cr = cairo_create(surface.get());
  cairo_scale(cr, scale, scale);
  Painter(cr, picture, textAsElements).Paint();
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface.get());
  const cairo_status_t status =
      drawn != CAIRO_STATUS_SUCCESS ? drawn : cairo_surface_status(surface.get());
  if (status != CAIRO_STATUS_SUCCESS) throw VectorError(cairo_status_to_string(status));
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The labels as text elements of the document, on top of the drawing.
std::string TextElements(const VectorPicture& picture) {
  std::string out;
  for (size_t run = 0; run < picture.RunCount(); ++run) {
    picture.VisitRun(run, [&](const VectorPicture::Shape& shape) {
      const auto* label = std::get_if<VectorPicture::Label>(&shape);
      if (label == nullptr) return;
      const TextLine& line = label->Line;
      char head[256];
      std::snprintf(head, sizeof head,
                    "<text x=\"%.3f\" y=\"%.3f\" style=\"font-family:'DejaVu Sans';font-size:"
                    "%.3fpx;fill:#%02x%02x%02x\" xml:space=\"preserve\">",
                    line.X, line.Y + LayOutText(line.Text, line.Size).Baseline, line.Size,
                    label->Color & 0xFF, (label->Color >> 8) & 0xFF, (label->Color >> 16) & 0xFF);
      out += head + Escaped(line.Text) + "</text>\n";
    });
  }
  return out;
}

// Passes the document on but its last bytes, so that the text can go in before its end tag.
class TailHolder {
 public:
  explicit TailHolder(Sink out) : out_(std::move(out)) {}
  void Write(std::string_view data) {
    tail_ += data;
    if (tail_.size() <= 2 * kHold) return;
    out_(std::string_view(tail_).substr(0, tail_.size() - kHold));
    tail_.erase(0, tail_.size() - kHold);
  }
  void Finish(const std::string& insert) {
    const size_t end = std::min(tail_.rfind("</svg>"), tail_.size());
    out_(std::string_view(tail_).substr(0, end));
    out_(insert);
    out_(std::string_view(tail_).substr(end));
  }

 private:
  static constexpr size_t kHold = 64;
  Sink out_;
  std::string tail_;
};

void StreamSvg(const VectorPicture& picture, const Sink& out) {
  TailHolder holder(out);
  Sink sink = [&](std::string_view data) { holder.Write(data); };
  Surface surface(
      cairo_svg_surface_create_for_stream(Forward, &sink, picture.Width(), picture.Height()),
      cairo_surface_destroy);
  cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
  Draw(std::move(surface), picture, 1, true);
  holder.Finish(TextElements(picture));
}

void StreamPdf(const VectorPicture& picture, Sink sink) {
  Surface surface(
      cairo_pdf_surface_create_for_stream(Forward, &sink, picture.Width() * kPointsPerPixel,
                                          picture.Height() * kPointsPerPixel),
      cairo_surface_destroy);
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Qel Graphics");
  Draw(std::move(surface), picture, kPointsPerPixel, false);
}

void WriteStreamed(const std::string& path, const std::function<void(const Sink&)>& stream) {
  AtomicFileWriter file(path);
  stream([&](std::string_view data) { file.Write(data); });
  file.Commit();
}

}  // namespace

std::string EncodeSvg(const VectorPicture& picture) {
  std::string out;
  StreamSvg(picture, [&](std::string_view data) { out.append(data); });
  return out;
}

std::string EncodePdf(const VectorPicture& picture) {
  std::string out;
  StreamPdf(picture, [&](std::string_view data) { out.append(data); });
  return out;
}

void WriteSvgFile(const std::string& path, const VectorPicture& picture) {
  WriteStreamed(path, [&](const Sink& sink) { StreamSvg(picture, sink); });
}

void WritePdfFile(const std::string& path, const VectorPicture& picture) {
  WriteStreamed(path, [&](const Sink& sink) { StreamPdf(picture, sink); });
}
