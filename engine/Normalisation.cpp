// The expression text made ready for splitting: blanks and outer brackets gone, function names
// replaced by their codes.
#include <string_view>

#include "engine/ParserInternals.h"
#include "engine/QelParser.h"

namespace {

bool StartsWithLower(std::string_view text, size_t at, std::string_view lowerName) {
  return text.size() - at >= lowerName.size() &&
         EqualsLower(text.substr(at, lowerName.size()), lowerName);
}

}  // namespace

std::string TQelParser::EntferneLeerzeichen(const std::string& text) const {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

std::string TQelParser::EntferneKlammern(const std::string& text) const {
  if (text.empty() || text.front() != '(' || text.back() != ')') return text;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') {
      if (depth != 0 || i == 0) {
        ++depth;
      } else {
        return text;
      }
    } else if (text[i] == ')') {
      --depth;
    }
  }
  return text.substr(1, text.size() - 2);
}

std::string TQelParser::WandleSinCosTanUm(const std::string& text) const {
  struct Name {
    std::string_view Lower;
    std::string_view Code;
  };
  static constexpr Name kNames[] = {{"sin", "s#"}, {"cos", "c#"}, {"tan", "t#"}, {"ln", "n#"},
                                    {"lg", "g#"},  {"abs", "r#"}, {"mod", "m"}};
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const Name* match = nullptr;
    for (const Name& name : kNames) {
      if (StartsWithLower(text, i, name.Lower)) {
        match = &name;
        break;
      }
    }
    if (match != nullptr) {
      out += match->Code;
      i += match->Lower.size();
    } else {
      if (ConvertAllColonsAndDots_ && (c == '.' || c == ',')) {
        out += LandDot_;
      } else {
        out += c;
      }
      ++i;
    }
  }
  return out;
}
