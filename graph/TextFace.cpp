#include "graph/TextFace.h"

#include <pango/pangocairo.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

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

// The byte lengths of the text's first 1, 2, ... characters.
std::vector<size_t> CharacterEnds(const std::string& text) {
  std::vector<size_t> ends;
  for (size_t i = 1; i <= text.size(); ++i) {
    if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ends.push_back(i);
  }
  return ends;
}

}  // namespace

TextExtent MeasureText(const std::string& text, double size) {
  // A picture measures its few texts again and again; a bounded memo spares the layouts.
  constexpr size_t kRemembered = 4096;
  thread_local std::map<std::pair<std::string, double>, TextExtent> memo;
  auto key = std::make_pair(text, size);
  if (const auto found = memo.find(key); found != memo.end()) return found->second;
  const Layout layout(pango_layout_new(MeasuringContext()));
  SetUp(layout.get(), text, size);
  PangoRectangle logical;
  pango_layout_get_extents(layout.get(), nullptr, &logical);
  const TextExtent extent{
      static_cast<double>(logical.width) / PANGO_SCALE,
      static_cast<double>(logical.height) / PANGO_SCALE,
      static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE};
  if (memo.size() == kRemembered) memo.clear();
  memo.emplace(std::move(key), extent);
  return extent;
}

std::string Printable(const std::string& text) {
  gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  std::string out;
  for (const gchar* p = valid; *p != '\0'; p = g_utf8_next_char(p)) {
    const gunichar c = g_utf8_get_char(p);
    if (g_unichar_iscntrl(c)) {
      out += "\uFFFD";
    } else {
      out.append(p, static_cast<size_t>(g_utf8_next_char(p) - p));
    }
  }
  g_free(valid);
  return out;
}

std::string Ellipsized(const std::string& text, double size, double maxWidth) {
  if (MeasureText(text, size).Width <= maxWidth) return text;
  const std::vector<size_t> ends = CharacterEnds(text);
  const auto shortened = [&](size_t characters) {
    return text.substr(0, characters ? ends[characters - 1] : 0) + "\u2026";
  };
  size_t lo = 0, hi = ends.size() - 1;  // the most characters that fit before the ellipsis
  while (lo < hi) {
    const size_t mid = (lo + hi + 1) / 2;
    if (MeasureText(shortened(mid), size).Width <= maxWidth) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  return shortened(lo);
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
