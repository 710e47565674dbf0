#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The in-memory project: what one project editor window shows and edits. Every number is held as
// the text the user typed and converted only where it is used; colours are 0x00BBGGRR values.

struct ProjectSettings {
  int32_t BackgroundColor = 16777215;
  int32_t AxisColor = 8421504;
  bool ShowAxes = true;
  bool ShowGrid = true;
  int32_t GridColor = 12632256;
  std::string GridStep = "1";
  bool Pointwise = true;
  std::string XFrom = "-10";
  std::string XTo = "10";
  std::string YFrom = "-10";
  std::string YTo = "10";
  std::string OutputWidth = "640";
  std::string OutputHeight = "480";
  std::string Deviation = "0";
  bool UseDeviation = false;
  // Additions beyond the classic file, stored in its reserved lines; all off by default, so a
  // project that uses none of them draws and saves as before.
  bool AxisNumbers = false;
  bool Legend = false;
  bool SmoothCurves = false;
  bool ExactCurves = false;

  bool operator==(const ProjectSettings&) const = default;
};

struct FunctionEntry {
  std::string Number;
  std::string Expression;
  std::string StepWidth = "0.1";
  std::string Color = "0";
  // Derivative curves drawn beside the function; stored in the block's reserved lines.
  bool DrawFirstDerivative = false;
  bool DrawSecondDerivative = false;

  bool operator==(const FunctionEntry&) const = default;
};

struct ProjectDocument {
  std::string Caption;
  std::string DateiName;
  bool Modified = false;
  ProjectSettings Settings;
  std::vector<FunctionEntry> Functions;
};
