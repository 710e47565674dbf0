#pragma once

#include <QString>

// The texts of the project's range fields "X von", "bis", "Y von" and "bis".
struct RangeTexts {
  QString XFrom, XTo, YFrom, YTo;
};
