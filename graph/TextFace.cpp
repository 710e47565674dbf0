#include "graph/TextFace.h"

#include <map>
#include <utility>
#include <vector>

#include "graph/VectorModule.h"

namespace {

// The byte lengths of the text's first 1, 2, ... characters.
std::vector<size_t> CharacterEnds(const std::string& text) {
  std::vector<size_t> ends;
  for (size_t i = 1; i <= text.size(); ++i) {
    if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ends.push_back(i);
  }
  return ends;
}

// The length of the well-formed UTF-8 character at text[i] and its code point, or 0.
size_t Utf8Character(const std::string& text, size_t i, char32_t& code) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || i + length > text.size()) return 0;
  code = lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < least[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

TextExtent MeasureText(const std::string& text, double size) {
  // A picture measures its few texts again and again; a bounded memo spares the layouts.
  constexpr size_t kRemembered = 4096;
  thread_local std::map<std::pair<std::string, double>, TextExtent> memo;
  auto key = std::make_pair(text, size);
  if (const auto found = memo.find(key); found != memo.end()) return found->second;
  const TextExtent extent = LoadedTextExtent(text, size);
  if (memo.size() == kRemembered) memo.clear();
  memo.emplace(std::move(key), extent);
  return extent;
}

std::string Printable(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    char32_t code = 0;
    const size_t length = Utf8Character(text, i, code);
    const bool control = code < 0x20 || (code >= 0x7F && code <= 0x9F);
    if (length == 0 || control) {
      out += "\uFFFD";
      i += length == 0 ? 1 : length;
      continue;
    }
    out.append(text, i, length);
    i += length;
  }
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
