#include "project/CheckSettings.h"

#include "platform/Conversions.h"

namespace {

const char* const kMessages[] = {
    "",
    "Bitte \xFC"
    "berpr\xFC"
    "fen Sie den Bereich der X-Werte.",
    "Bitte \xFC"
    "berpr\xFC"
    "fen Sie den Bereich der Y-Werte.",
    "Bitte \xFC"
    "berpr\xFC"
    "fen Sie die Werte f\xFC"
    "r die Ausgabegr\xF6\xDF"
    "e.",
    "Die Ausgabegr\xF6\xDF"
    "e kann nicht kleiner als 10 sein und darf die aktuelle Bildschirmaufl\xF6sung nicht "
    "\xFC"
    "berschreiten.",
};

// A text that does not convert sets the verdict and stands in as its default for later comparisons.
template <typename T, typename Convert>
T ConvertOr(const std::string& text, T fallback, Convert convert, int failVerdict, int& verdict) {
  try {
    return convert(text);
  } catch (const ConvertError&) {
    verdict = failVerdict;
    return fallback;
  }
}

}  // namespace

SettingsVerdict CheckSettings(const ProjectSettings& s, int32_t screenWidth, int32_t screenHeight) {
  int verdict = 0;
  const long double xFrom = ConvertOr(s.XFrom, -10.0L, StrToFloat, 1, verdict);
  const long double xTo = ConvertOr(s.XTo, 10.0L, StrToFloat, 1, verdict);
  const long double yFrom = ConvertOr(s.YFrom, -10.0L, StrToFloat, 2, verdict);
  const long double yTo = ConvertOr(s.YTo, 10.0L, StrToFloat, 2, verdict);
  const int32_t width = ConvertOr(s.OutputWidth, int32_t{640}, StrToInt, 3, verdict);
  const int32_t height = ConvertOr(s.OutputHeight, int32_t{480}, StrToInt, 3, verdict);
  if (!(xTo > xFrom)) verdict = 1;
  if (!(yTo > yFrom)) verdict = 2;
  if (width < 10 || height < 10) verdict = 4;
  if (screenWidth < width || screenHeight < height) verdict = 4;
  return {verdict, kMessages[verdict]};
}
