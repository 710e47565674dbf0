// A value table from texts of the input: the builder stops by itself, keeps to its row limit, and
// both export layouts hold exactly the rows built.
#include <algorithm>

#include "engine/QelParser.h"
#include "fuzz/FuzzInput.h"
#include "platform/RegionalSettings.h"
#include "valuetable/ValueTable.h"

namespace {

size_t LineEnds(const std::string& text) {
  size_t count = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const uint8_t options = in.Byte();
  SetRegionalDecimalSeparator(options & 1 ? ',' : '.');
  TQelParser engine(std::make_shared<QelTreeRoot>(), PowerRule::CheckNegativeBase);
  engine.SetConvertAllColonsAndDots(options & 2);
  engine.SetPrecision(options & 4 ? in.Int32() : in.Byte() % 20);
  ValueTableInput input;
  input.XFrom = in.Line();
  input.XTo = in.Line();
  input.StepWidth = in.Line();
  input.Expression = in.Rest();

  long polls = 0;
  const ValueTableResult result = BuildValueTableRows(engine, input, [&] { ++polls; });
  const ValueTable& rows = result.Rows;
  if (rows.size() > MaxValueTableRows) FuzzFailure("more rows than the limit");
  if (polls > static_cast<long>(MaxValueTableRows) + 2) FuzzFailure("the builder did not stop");
  const bool brokenLine = std::any_of(rows.begin(), rows.end(), [](const ValueTableRow& row) {
    return row.X.find_first_of("\r\n") != std::string::npos ||
           row.Fx.find_first_of("\r\n") != std::string::npos;
  });
  if (brokenLine) FuzzFailure("a row text holds a line break");
  if (LineEnds(ValueTableExportText(rows, ValueTableLayout::Tab)) != rows.size() + 1) {
    FuzzFailure("tab layout line count");
  }
  if (LineEnds(ValueTableExportText(rows, ValueTableLayout::Block)) != 2 * rows.size() + 3) {
    FuzzFailure("block layout line count");
  }
  return 0;
}
