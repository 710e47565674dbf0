#pragma once

#include <functional>
#include <string>

// The first of "name.ext", "name (2).ext", "name (3).ext", ... that `taken` does not report, so a
// new file never replaces an earlier one. The number goes before the last extension of the file
// name (not of a folder); a name without extension gets it at its end.
std::string FreeFileName(const std::string& path,
                         const std::function<bool(const std::string&)>& taken);
