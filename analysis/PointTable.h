#pragma once

#include <string>

#include "analysis/CurveAnalysis.h"
#include "engine/QelParser.h"

// The points of a discussion as text: a header line "Funktion<TAB>Art<TAB>x<TAB>y", then one point
// a line with the function's number ("N/M" for an intersection), the kind in German, and x and y
// in the engine's number text at its precision (y empty for a pole or a jump).

// The German name of a kind: "Nullstelle", "Hochpunkt", ...
const char* PointKindName(PointKind kind);
// Its letter in a point's label, as a school writes it: "N", "H", "T", "W", "S", "Sy".
const char* PointKindLetter(PointKind kind);

// One point's four fields as the table shows them.
struct PointRow {
  std::string Function, Kind, X, Y;
  bool operator==(const PointRow&) const = default;
};

// The rows of the lists' points in their order.
std::vector<PointRow> PointRows(const std::vector<PointList>& lists, TQelParser& engine);

// The header and the rows, each line ended by `lineEnd`.
std::string PointTableText(const std::vector<PointRow>& rows, const std::string& lineEnd);

// "Funktion N: M weitere Punkte" (N/M for an intersection) for a list with points left out.
std::string MorePointsMessage(const PointList& list);
