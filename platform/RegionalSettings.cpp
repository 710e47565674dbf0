#include "platform/RegionalSettings.h"

#include <cstdlib>
#include <string_view>

namespace {

// 0 until the environment has been read or a separator has been set.
char g_separator = 0;

std::string_view LocaleName() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return {};
}

// Languages whose regional settings write a decimal comma.
constexpr std::string_view kCommaLanguages[] = {
    "af", "az", "be", "bg", "bs", "ca", "cs", "da", "de", "el", "es", "et", "eu", "fi", "fo",
    "fr", "gl", "hr", "hu", "hy", "id", "is", "it", "ka", "kk", "ky", "lt", "lv", "mk", "mn",
    "nb", "nl", "nn", "no", "pl", "pt", "ro", "ru", "sk", "sl", "sq", "sr", "sv", "tr"};

// Regions that write a point although their language usually writes a comma.
constexpr std::string_view kPointRegions[] = {"de_CH", "it_CH", "fr_CH"};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

char DecimalSeparatorFromEnvironment() {
  const std::string_view name = LocaleName();
  for (const std::string_view region : kPointRegions) {
    if (StartsWith(name, region)) return '.';
  }
  const std::string_view language = name.substr(0, name.find_first_of("_.@"));
  for (const std::string_view comma : kCommaLanguages) {
    if (language == comma) return ',';
  }
  return '.';
}

char RegionalDecimalSeparator() {
  if (g_separator == 0) g_separator = DecimalSeparatorFromEnvironment();
  return g_separator;
}

void SetRegionalDecimalSeparator(char separator) {
  g_separator = separator;
}
