#include "graph/TextLayout.h"

#include <pango/pangocairo.h>

#include <cstring>
#include <memory>

namespace {

constexpr const char* kFamily = "DejaVu Sans";

template <typename T>
struct GFree {
  void operator()(T* p) const { g_object_unref(p); }
};
using Layout = std::unique_ptr<PangoLayout, GFree<PangoLayout>>;

void Configure(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
}

void SetUp(PangoLayout* layout, const std::string& text, double size) {
  PangoFontDescription* font = pango_font_description_from_string(kFamily);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_font_description_free(font);
  pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
}

// Measuring needs no surface: a context of the thread's font map lays out as a surface would.
PangoContext* MeasuringContext() {
  thread_local const std::unique_ptr<PangoContext, GFree<PangoContext>> context = [] {
    PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
    Configure(c);
    return std::unique_ptr<PangoContext, GFree<PangoContext>>(c);
  }();
  return context.get();
}

}  // namespace

TextExtent LayOutText(const std::string& text, double size) {
  const Layout layout(pango_layout_new(MeasuringContext()));
  SetUp(layout.get(), text, size);
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  return {static_cast<double>(logical.width) / PANGO_SCALE,
          static_cast<double>(logical.height) / PANGO_SCALE,
          static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE};
}

void ShowText(cairo_t* cr, const TextLine& line) {
  // The measuring context takes the surface's transformation for the while, which without hinted
  // metrics changes no measure.
  PangoContext* context = MeasuringContext();
  pango_cairo_update_context(cr, context);
  const Layout layout(pango_layout_new(context));
  SetUp(layout.get(), line.Text, line.Size);
  cairo_move_to(cr, line.X, line.Y);
  pango_cairo_show_layout(cr, layout.get());
  pango_context_set_matrix(context, nullptr);
}

void RenderTextMask(const TextLine& line, uint8_t* mask, size_t stride, int32_t width,
                    int32_t height, int32_t left, int32_t top) {
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_translate(cr, -left, -top);
  ShowText(cr, line);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  const uint8_t* drawn = cairo_image_surface_get_data(surface);
  const auto drawnStride = static_cast<size_t>(cairo_image_surface_get_stride(surface));
  for (int32_t y = 0; drawn != nullptr && y < height; ++y) {
    std::memcpy(mask + y * stride, drawn + y * drawnStride, static_cast<size_t>(width));
  }
  cairo_surface_destroy(surface);
}
