#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/RegionalSettings.h"
#include "project/CheckSettings.h"

namespace {

struct Case {
  std::string name;
  std::vector<std::pair<std::string ProjectSettings::*, std::string>> fields;
  int verdict;
  char separator = '.';
  int32_t screenWidth = 1024;
  int32_t screenHeight = 768;
};

using S = ProjectSettings;

}  // namespace

TEST(CheckSettings, TheLastFailingStepDecides) {
  const std::vector<Case> cases = {
      {"defaults", {}, 0},
      {"empty range", {{&S::XFrom, "5"}, {&S::XTo, "5"}}, 1},
      {"reversed range", {{&S::XFrom, "5"}, {&S::XTo, "-5"}}, 1},
      {"x letters alone", {{&S::XFrom, "abc"}}, 1},
      {"x letters against a default", {{&S::XFrom, "20"}, {&S::XTo, "abc"}}, 1},
      {"x letters, then y reversed", {{&S::XFrom, "abc"}, {&S::YFrom, "5"}, {&S::YTo, "1"}}, 2},
      {"y letters, then x reversed", {{&S::YTo, "abc"}, {&S::XFrom, "9"}, {&S::XTo, "1"}}, 1},
      {"y equal", {{&S::YFrom, "0"}, {&S::YTo, "0"}}, 2},
      {"width letters", {{&S::OutputWidth, "abc"}}, 3},
      {"height with a fraction", {{&S::OutputHeight, "480.0"}}, 3},
      {"width letters, then x empty", {{&S::OutputWidth, "abc"}, {&S::XFrom, "10"}}, 1},
      {"height letters, then width too small",
       {{&S::OutputHeight, "x"}, {&S::OutputWidth, "9"}},
       4},
      {"width 9", {{&S::OutputWidth, "9"}}, 4},
      {"height 9", {{&S::OutputHeight, "9"}}, 4},
      {"width 10 height 10", {{&S::OutputWidth, "10"}, {&S::OutputHeight, "10"}}, 0},
      {"negative width", {{&S::OutputWidth, "-640"}}, 4},
      {"blanks around a size", {{&S::OutputWidth, " 640 "}}, 0},
      {"width beyond the screen", {{&S::OutputWidth, "1025"}}, 4},
      {"height beyond the screen", {{&S::OutputHeight, "769"}}, 4},
      {"exactly the screen", {{&S::OutputWidth, "1024"}, {&S::OutputHeight, "768"}}, 0},
      {"beyond the headless limit",
       {{&S::OutputWidth, "16385"}},
       4,
       '.',
       HeadlessScreenLimit,
       HeadlessScreenLimit},
      {"headless limit itself",
       {{&S::OutputWidth, "16384"}, {&S::OutputHeight, "16384"}},
       0,
       '.',
       HeadlessScreenLimit,
       HeadlessScreenLimit},
      {"comma under comma settings", {{&S::XFrom, "-0,5"}, {&S::XTo, "0,5"}}, 0, ','},
      {"comma under point settings", {{&S::YFrom, "-0,5"}, {&S::YTo, "0,5"}}, 2, '.'},
      {"point under comma settings", {{&S::XFrom, "-0.5"}}, 1, ','},
      {"exponent", {{&S::XFrom, "-1e1"}, {&S::XTo, "1E-3"}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRegionalDecimalSeparator(c.separator);
    ProjectSettings settings;
    for (const auto& [field, text] : c.fields) settings.*field = text;
    const SettingsVerdict v = CheckSettings(settings, c.screenWidth, c.screenHeight);
    EXPECT_EQ(v.Verdict, c.verdict);
    EXPECT_EQ(v.Passed(), c.verdict == 0);
  }
  SetRegionalDecimalSeparator('.');
}

TEST(CheckSettings, EachVerdictCarriesItsMessage) {
  SetRegionalDecimalSeparator('.');
  const std::vector<std::pair<std::string ProjectSettings::*, std::string>> fields = {
      {&S::XFrom, "x"}, {&S::YFrom, "y"}, {&S::OutputWidth, "w"}, {&S::OutputWidth, "1"}};
  const std::vector<std::string> messages = {
      "Bitte überprüfen Sie den Bereich der X-Werte.",
      "Bitte überprüfen Sie den Bereich der Y-Werte.",
      "Bitte überprüfen Sie die Werte für die Ausgabegröße.",
      "Die Ausgabegröße kann nicht kleiner als 10 sein und darf die aktuelle "
      "Bildschirmauflösung nicht überschreiten.",
  };
  for (std::size_t i = 0; i < fields.size(); ++i) {
    ProjectSettings settings;
    settings.*fields[i].first = fields[i].second;
    const SettingsVerdict v = CheckSettings(settings, 1024, 768);
    EXPECT_EQ(v.Verdict, static_cast<int>(i + 1));
    EXPECT_EQ(Utf8FromWindows1252(v.Message), messages[i]);
  }
  EXPECT_EQ(CheckSettings(ProjectSettings{}, 1024, 768).Message, "");
}
