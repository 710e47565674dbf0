#include "graph/PictureFormat.h"

#include <algorithm>

namespace {

struct Extension {
  std::string_view Text;
  PictureFormat Format;
};

constexpr Extension kExtensions[] = {{".jpg", PictureFormat::Jpeg}, {".jpeg", PictureFormat::Jpeg},
                                     {".bmp", PictureFormat::Bmp},  {".png", PictureFormat::Png},
                                     {".svg", PictureFormat::Svg},  {".pdf", PictureFormat::Pdf}};

// Compared byte by byte in ASCII, whatever the locale: the name may be in any encoding.
bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
           return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
         });
}

}  // namespace

std::optional<PictureFormat> PictureFormatOfName(std::string_view name) {
  for (const Extension& extension : kExtensions) {
    if (EndsWithIgnoringCase(name, extension.Text)) return extension.Format;
  }
  return std::nullopt;
}

PictureFormat PictureFormatToWrite(std::string_view name, PictureFormat chosen) {
  return PictureFormatOfName(name).value_or(chosen);
}
