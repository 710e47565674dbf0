#include "graph/VectorWriter.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/AtomicFile.h"

namespace {

using Point = VectorPicture::Point;

// Shapes beyond the picture are cut a few pixels outside it: the library's coordinates are
// fixed-point numbers that would overflow far away, and nothing there shows anyway.
constexpr long double kMargin = 4;
constexpr double kPointsPerPixel = 72.0 / 96.0;

struct Vertex {
  long double X, Y;
};

struct Bounds {
  long double Left, Top, Right, Bottom;
};

// The part of the segment a-b inside the bounds (Liang-Barsky), or nothing.
std::optional<std::pair<Vertex, Vertex>> Clip(Vertex a, Vertex b, const Bounds& box) {
  const long double dx = b.X - a.X, dy = b.Y - a.Y;
  long double t0 = 0, t1 = 1;
  const std::pair<long double, long double> edges[] = {
      {-dx, a.X - box.Left}, {dx, box.Right - a.X}, {-dy, a.Y - box.Top}, {dy, box.Bottom - a.Y}};
  for (const auto& [p, q] : edges) {
    if (p == 0) {
      if (q < 0) return std::nullopt;
      continue;
    }
    const long double t = q / p;
    if (p < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
    if (t0 > t1) return std::nullopt;
  }
  return std::pair{Vertex{a.X + t0 * dx, a.Y + t0 * dy}, Vertex{a.X + t1 * dx, a.Y + t1 * dy}};
}

class Painter {
 public:
  Painter(cairo_t* cr, const VectorPicture& picture)
      : cr_(cr),
        picture_(picture),
        box_{-kMargin, -kMargin, picture.Width() + kMargin, picture.Height() + kMargin} {}

  void Paint() {
    SetColor(picture_.Background());
    cairo_rectangle(cr_, 0, 0, picture_.Width(), picture_.Height());
    cairo_fill(cr_);
    // Square caps cover a line's end pixels as the bitmap does; round joins keep sharp turns of a
    // curve from growing long mitre spikes.
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    const std::vector<VectorPicture::Shape> shapes = picture_.Shapes();
    // One fill and at most two strokes for each stretch of one colour keeps the file small.
    for (auto first = shapes.begin(); first != shapes.end();) {
      const int32_t color = ColorOf(*first);
      const auto end = std::find_if(first, shapes.end(),
                                    [&](const auto& shape) { return ColorOf(shape) != color; });
      SetColor(color);
      PaintDots(first, end);
      PaintLines(first, end, false);
      PaintLines(first, end, true);
      first = end;
    }
  }

 private:
  using Iterator = std::vector<VectorPicture::Shape>::const_iterator;

  static int32_t ColorOf(const VectorPicture::Shape& shape) {
    return std::visit([](const auto& s) { return s.Color; }, shape);
  }

  void SetColor(int32_t color) {
    cairo_set_source_rgb(cr_, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                         ((color >> 16) & 0xFF) / 255.0);
  }

  bool Inside(Point p) const {
    return p.X >= box_.Left && p.X <= box_.Right && p.Y >= box_.Top && p.Y <= box_.Bottom;
  }

  void PaintDots(Iterator first, Iterator end) {
    bool any = false;
    for (auto it = first; it != end; ++it) {
      const auto* dot = std::get_if<VectorPicture::Dot>(&*it);
      if (dot == nullptr || !Inside(dot->At)) continue;
      cairo_rectangle(cr_, static_cast<double>(dot->At.X), static_cast<double>(dot->At.Y), 1, 1);
      any = true;
    }
    if (any) cairo_fill(cr_);
  }

  // A thin line runs through the pixels' centres. A thick one, the bitmap's line and the same line
  // one row lower, runs half a pixel lower with a pen two pixels high.
  void PaintLines(Iterator first, Iterator end, bool thick) {
    bool any = false;
    for (auto it = first; it != end; ++it) {
      const auto* line = std::get_if<VectorPicture::Polyline>(&*it);
      if (line == nullptr || line->Thick != thick) continue;
      any = AddPolyline(line->Points, thick ? 1.0L : 0.5L) || any;
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

  bool AddPolyline(const std::vector<Point>& points, long double down) {
    bool any = false, joined = false;
    for (size_t i = 1; i < points.size(); ++i) {
      const Vertex a{points[i - 1].X + 0.5L, points[i - 1].Y + down};
      const Vertex b{points[i].X + 0.5L, points[i].Y + down};
      const auto part = Clip(a, b, box_);
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
  Bounds box_;
};

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;

// Draws the picture onto the surface, in pixels scaled to the surface's units, and finishes it.
void Draw(Surface surface, const VectorPicture& picture, double scale) {
  cairo_t* cr = cairo_create(surface.get());
  cairo_scale(cr, scale, scale);
  Painter(cr, picture).Paint();
  const cairo_status_t drawn = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface.get());
  const cairo_status_t status =
      drawn != CAIRO_STATUS_SUCCESS ? drawn : cairo_surface_status(surface.get());
  if (status != CAIRO_STATUS_SUCCESS) throw VectorError(cairo_status_to_string(status));
}

}  // namespace

std::string EncodeSvg(const VectorPicture& picture) {
  std::string out;
  Surface surface(
      cairo_svg_surface_create_for_stream(Append, &out, picture.Width(), picture.Height()),
      cairo_surface_destroy);
  cairo_svg_surface_set_document_unit(surface.get(), CAIRO_SVG_UNIT_PX);
  Draw(std::move(surface), picture, 1);
  return out;
}

std::string EncodePdf(const VectorPicture& picture) {
  std::string out;
  Surface surface(
      cairo_pdf_surface_create_for_stream(Append, &out, picture.Width() * kPointsPerPixel,
                                          picture.Height() * kPointsPerPixel),
      cairo_surface_destroy);
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "Qel Graphics");
  Draw(std::move(surface), picture, kPointsPerPixel);
  return out;
}

Bitmap RasterizeVectorPicture(const VectorPicture& picture, int32_t width, int32_t height) {
  Bitmap bitmap(width, height);
  if (width <= 0 || height <= 0 || picture.Width() <= 0 || picture.Height() <= 0) return bitmap;
  Surface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height),
                  cairo_surface_destroy);
  cairo_t* cr = cairo_create(surface.get());
  cairo_scale(cr, static_cast<double>(width) / picture.Width(),
              static_cast<double>(height) / picture.Height());
  Painter(cr, picture).Paint();
  const cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status != CAIRO_STATUS_SUCCESS) throw VectorError(cairo_status_to_string(status));
  cairo_surface_flush(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  for (int32_t y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<ptrdiff_t>(y) * stride);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = row[x];  // 0x00RRGGBB in the machine's byte order
      bitmap.SetPixel(
          x, y, static_cast<int32_t>((rgb >> 16 & 0xFF) | (rgb & 0xFF00) | (rgb & 0xFF) << 16));
    }
  }
  return bitmap;
}

void WriteSvgFile(const std::string& path, const VectorPicture& picture) {
  WriteFileAtomically(path, EncodeSvg(picture));
}

void WritePdfFile(const std::string& path, const VectorPicture& picture) {
  WriteFileAtomically(path, EncodePdf(picture));
}
