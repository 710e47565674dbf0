#include "graph/OutputOptions.h"

#include <algorithm>
#include <optional>

#include "platform/Conversions.h"

namespace {

// a × b / c in 32-bit arithmetic: the product wraps, the division truncates. Callers pass c > 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  const auto product = static_cast<int32_t>(static_cast<int64_t>(a) * b);
  return product / c;
}

std::string Text(int32_t n) {
  return std::to_string(n);
}

bool CanScale(const PrintSizeFields& f) {
  return f.PictureWidth > 0 && f.PictureHeight > 0;
}

std::optional<int32_t> IntIn(const std::string& text) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return std::nullopt;
  }
}

void SetSize(PrintSizeFields& f, int32_t width, int32_t height) {
  f.Width = Text(width);
  f.Height = Text(height);
}

}  // namespace

int32_t JpegQualityForSlider(int32_t position) {
  return 2 * position;
}

void SetPercent(PrintSizeFields& f, int32_t percent) {
  f.Percent = Text(percent);
  f.Arrows = std::clamp(percent, kMinPercent, kMaxPercent);
}

void ResetPrintSize(PrintSizeFields& f) {
  SetSize(f, f.PictureWidth, f.PictureHeight);
  f.Percent = "100";
  f.Arrows = 100;
  f.KeepProportions = false;
}

void PercentLeft(PrintSizeFields& f) {
  const int32_t p = std::clamp(IntIn(f.Percent).value_or(100), kMinPercent, kMaxPercent);
  f.Arrows = p;
  SetSize(f, MulDiv(f.PictureWidth, p, 100), MulDiv(f.PictureHeight, p, 100));
}

void WidthLeft(PrintSizeFields& f) {
  if (!f.KeepProportions || f.Width.empty() || !CanScale(f)) return;
  const auto typed = IntIn(f.Width);
  const int32_t w = typed.value_or(f.PictureWidth);
  if (!typed) f.Width = Text(w);
  f.Height = Text(MulDiv(f.PictureHeight, w, f.PictureWidth));
  SetPercent(f, MulDiv(w, 100, f.PictureWidth));
}

void HeightLeft(PrintSizeFields& f) {
  if (!f.KeepProportions || f.Height.empty() || !CanScale(f)) return;
  const auto typed = IntIn(f.Height);
  const int32_t h = typed.value_or(f.PictureHeight);
  if (!typed) f.Height = Text(h);
  f.Width = Text(MulDiv(f.PictureWidth, h, f.PictureHeight));
  SetPercent(f, MulDiv(h, 100, f.PictureHeight));
}

void FitToPage(PrintSizeFields& f) {
  if (!CanScale(f)) return;
  if (!f.KeepProportions) {
    SetSize(f, f.PaperWidth, f.PaperHeight);
    SetPercent(f, f.PaperWidth > f.PaperHeight ? MulDiv(f.PaperHeight, 100, f.PictureHeight)
                                               : MulDiv(f.PaperWidth, 100, f.PictureWidth));
    return;
  }
  // The smaller of the two ratios page/picture decides, so the picture fits on both sides for every
  // shape of picture and page. Compared crosswise in 64 bits to stay exact.
  const bool widthDecides = static_cast<int64_t>(f.PaperWidth) * f.PictureHeight <=
                            static_cast<int64_t>(f.PaperHeight) * f.PictureWidth;
  if (widthDecides) {
    SetSize(f, f.PaperWidth, MulDiv(f.PaperWidth, f.PictureHeight, f.PictureWidth));
    SetPercent(f, MulDiv(f.PaperWidth, 100, f.PictureWidth));
  } else {
    SetSize(f, MulDiv(f.PaperHeight, f.PictureWidth, f.PictureHeight), f.PaperHeight);
    SetPercent(f, MulDiv(f.PaperHeight, 100, f.PictureHeight));
  }
}

PrintSize ConfirmedPrintSize(const PrintSizeFields& f) {
  const int32_t width = StrToInt(f.Width);
  return {width, StrToInt(f.Height)};
}

PagePosition CentreOnPage(int32_t pageWidth, int32_t pageHeight, int32_t width, int32_t height) {
  const auto half = [](int32_t page, int32_t size) {
    return static_cast<int32_t>((static_cast<int64_t>(page) - size) / 2);
  };
  return {half(pageWidth, width), half(pageHeight, height)};
}
