#pragma once

#include <cstdint>
#include <string>

#include "project/ProjectDocument.h"

// The check of a project's ranges and output size before a graph or a value table is made.
// Verdict 0 passes; 1 x range, 2 y range, 3 output size not an integer, 4 output size below 10 or
// beyond the screen. The steps run in a fixed order and the last failing one decides.
struct SettingsVerdict {
  int Verdict = 0;
  std::string Message;  // single-byte text, empty for verdict 0; shown captioned "Eingabefehler"

  bool Passed() const { return Verdict == 0; }
};

// The command line has no screen; it checks against this limit instead.
inline constexpr int32_t HeadlessScreenLimit = 16384;

// The bounds go through the regional float conversion, the sizes through the integer conversion.
SettingsVerdict CheckSettings(const ProjectSettings& settings, int32_t screenWidth,
                              int32_t screenHeight);
