#include "analysis/PointTable.h"

#include <string_view>

namespace {

std::string FunctionField(const PointList& list) {
  std::string field = std::to_string(list.Function);
  if (list.Other != 0) field += "/" + std::to_string(list.Other);
  return field;
}

// The engine's text, without the sign of a value that rounds to zero.
std::string NumberText(TQelParser& engine, long double value) {
  std::string text = engine.LongDoubleToStr(value);
  if (text.starts_with('-') &&
      std::string_view(text).find_first_not_of("0", 1) == std::string_view::npos) {
    text.erase(0, 1);
  }
  return text;
}

}  // namespace

const char* PointKindName(PointKind kind) {
  switch (kind) {
    case PointKind::Zero:
      return "Nullstelle";
    case PointKind::Maximum:
      return "Hochpunkt";
    case PointKind::Minimum:
      return "Tiefpunkt";
    case PointKind::Inflection:
      return "Wendepunkt";
    case PointKind::Pole:
      return "Polstelle";
    case PointKind::Jump:
      return "Sprungstelle";
    case PointKind::Intersection:
      return "Schnittpunkt";
    case PointKind::YIntercept:
      return "y-Achsenabschnitt";
  }
  return "";
}

const char* PointKindLetter(PointKind kind) {
  switch (kind) {
    case PointKind::Maximum:
      return "H";
    case PointKind::Minimum:
      return "T";
    case PointKind::Inflection:
      return "W";
    case PointKind::Intersection:
      return "S";
    case PointKind::YIntercept:
      return "Sy";
    default:
      return "N";
  }
}

std::vector<PointRow> PointRows(const std::vector<PointList>& lists, TQelParser& engine) {
  std::vector<PointRow> rows;
  for (const PointList& list : lists) {
    const std::string function = FunctionField(list);
    for (const CurvePoint& p : list.Points) {
      rows.push_back({function, PointKindName(p.Kind), NumberText(engine, p.X),
                      p.Y ? NumberText(engine, *p.Y) : std::string()});
    }
  }
  return rows;
}

std::string PointTableText(const std::vector<PointRow>& rows, const std::string& lineEnd) {
  std::string text = "Funktion\tArt\tx\ty" + lineEnd;
  for (const PointRow& row : rows) {
    text += row.Function + "\t" + row.Kind + "\t" + row.X + "\t" + row.Y + lineEnd;
  }
  return text;
}

std::string MorePointsMessage(const PointList& list) {
  return "Funktion " + FunctionField(list) + ": " + std::to_string(list.More) + " weitere Punkte";
}
