#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/RegionalSettings.h"
#include "tests/support/ProjectLines.h"

namespace hardening {

namespace fs = std::filesystem;

using qeltest::ReadBytes;
using qeltest::TempDir;
using qeltest::WriteBytes;

// A project file as the program writes it: default settings, then one block per expression. Lines
// are joined with `ending`.
inline std::string ProjectText(const std::vector<std::string>& expressions,
                               const std::string& count, const std::string& ending = "\r\n") {
  std::vector<std::string> lines = qeltest::DefaultSettingsLines(count);
  for (size_t i = 0; i < expressions.size(); ++i)
    qeltest::AppendBlock(lines, {std::to_string(i + 1), expressions[i], "0.1", "255"});
  return qeltest::Join(lines, ending);
}

// Runs a test body under both decimal separators; the regional one is restored afterwards.
template <typename Body>
void UnderBothSeparators(Body body) {
  const char saved = RegionalDecimalSeparator();
  for (const char separator : {'.', ','}) {
    SCOPED_TRACE(std::string("separator ") + separator);
    SetRegionalDecimalSeparator(separator);
    body(separator);
  }
  SetRegionalDecimalSeparator(saved);
}

}  // namespace hardening
