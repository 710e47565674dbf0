#include "valuetable/ValueTable.h"

#include "engine/QelParser.h"
#include "engine/QuotedExpression.h"
#include "platform/AtomicFile.h"

namespace {

std::string FxText(TQelParser& engine, const std::string& xText) {
  try {
    engine.SetX(xText);
    engine.Evaluate();
    return engine.ErgebnisString();
  } catch (const EngineError&) {
    return "Error";
  }
}

std::string DefinitionError(const std::string& expression) {
  return "Fehler in Funktionsdefinition:\n\n" + QuotedExpression(expression) +
         "\n\nDie Werte dieser Funktion k\xF6nnen nicht erzeugt werden.";
}

const char* const kTooManyRows =
    "Es k\xF6nnen nicht mehr als 2000 Werte angezeigt werden.\n\n"
    "Erh\xF6hen Sie die Schrittweite der Funktion oder verringern Sie die den X-Bereich.";

// Sizes the table once; the loop alone decides how many rows there are.
std::size_t ExpectedRows(long double from, long double to, long double step) {
  if (!(from <= to) || step == 0) return 0;
  if (!(step > 0)) return MaxValueTableRows;
  const long double rows = (to - from) / step + 2;
  return rows < MaxValueTableRows ? static_cast<std::size_t>(rows) : MaxValueTableRows;
}

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

}  // namespace

ValueTableResult BuildValueTableRows(TQelParser& engine, const ValueTableInput& input,
                                     const std::function<void()>& poll) {
  const auto pollNow = [&poll] {
    if (poll) poll();
  };
  ValueTableResult result;
  const long double xFrom = StrToLongDoubleOr(engine, input.XFrom, -10.0L);
  const long double xTo = StrToLongDoubleOr(engine, input.XTo, 10.0L);
  pollNow();
  const long double step = StrToLongDoubleOr(engine, input.StepWidth, 1.0L);
  engine.SetExpression(input.Expression);
  if (!engine.CreateTree()) {
    result.Message = DefinitionError(input.Expression);
    return result;
  }
  result.Rows.reserve(ExpectedRows(xFrom, xTo, step));
  // x grows by repeated addition, so its rounding error accumulates from row to row.
  for (long double x = xFrom; x <= xTo && step != 0; x += step) {
    pollNow();
    std::string xText = engine.LongDoubleToStr(x);
    std::string fx = FxText(engine, xText);
    if (result.Rows.size() == MaxValueTableRows) {
      result.Message = kTooManyRows;
      break;
    }
    result.Rows.push_back({std::move(xText), std::move(fx)});
  }
  return result;
}

std::string ValueTableExportText(const ValueTable& rows, ValueTableLayout layout) {
  std::string out;
  if (layout == ValueTableLayout::Tab) {
    AppendLine(out, "x\tf(x)");
    for (const ValueTableRow& row : rows) AppendLine(out, row.X + "\t" + row.Fx);
    return out;
  }
  AppendLine(out, "x-Werte:");
  for (const ValueTableRow& row : rows) AppendLine(out, row.X);
  AppendLine(out, "");
  AppendLine(out, "f(x)-Werte:");
  for (const ValueTableRow& row : rows) AppendLine(out, row.Fx);
  return out;
}

void WriteValueTableExport(const std::string& path, const ValueTable& rows,
                           ValueTableLayout layout) {
  WriteFileAtomically(path, ValueTableExportText(rows, layout));
}
