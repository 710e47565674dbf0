// Any bytes as an expression: building and evaluating must never crash, hang, leak or give two
// different answers for the same input, however faults are found.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "engine/QelParser.h"
#include "fuzz/FuzzInput.h"
#include "platform/RegionalSettings.h"

namespace {

const char* const kXTexts[] = {"0", "1", "-1", "0.5", "-2,5", "1e300", "-1e-300", "x", ""};
const char* const kOverwrite[] = {"", ".", ",", ";"};

// The outcome of one evaluation: the value's bits or the error's text.
struct Outcome {
  long double Value = 0;
  std::string Text;

  bool operator==(const Outcome& other) const {
    if (Text != other.Text) return false;
    if (std::isnan(Value) && std::isnan(other.Value)) return true;
    return std::memcmp(&Value, &other.Value, 10) == 0;
  }
};

Outcome EvaluateOnce(TQelParser& parser) {
  try {
    const long double value = parser.Evaluate();
    return {value, parser.ErgebnisString()};
  } catch (const EngineError& error) {
    return {0, std::string("error: ") + error.what()};
  }
}

void Configure(TQelParser& parser, FuzzInput& in) {
  const uint8_t options = in.Byte();
  SetRegionalDecimalSeparator(options & 1 ? ',' : '.');
  parser.SetConvertAllColonsAndDots(options & 2);
  parser.SetOverwriteDecimalSymbol(kOverwrite[(options >> 2) & 3]);
  // Mostly the dialog's range, sometimes the extremes an unclamped typed value can give.
  const int32_t kExtremes[] = {-1, -100000, 19, 20, 100000, INT32_MAX, INT32_MIN};
  const uint8_t precision = in.Byte();
  parser.SetPrecision(precision < 200 ? precision % 25 : kExtremes[precision % 7]);
  parser.SetA("2");
  parser.SetB("-0,5");
  parser.SetC("abc");
  parser.SetD("");
}

// The readings evaluated together must give what each gives alone.
void CompareBlock(TQelParser& parser) {
  std::vector<VariableReading> xs;
  for (const char* x : kXTexts) xs.push_back(parser.ReadVariable(x));
  long double values[std::size(kXTexts)];
  bool failed[std::size(kXTexts)];
  parser.EvaluateAt(xs.data(), xs.size(), values, failed);
  for (size_t i = 0; i < xs.size(); ++i) {
    parser.SetX(xs[i]);
    Outcome alone;
    try {
      alone.Value = parser.EvaluateValue();
    } catch (const EngineError&) {
      alone.Text = "error";
    }
    const Outcome together{failed[i] ? 0 : values[i], failed[i] ? "error" : ""};
    if (!(alone == together)) FuzzFailure("readings evaluated together and alone differ");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const PowerRule rule = in.Byte() & 1 ? PowerRule::Plain : PowerRule::CheckNegativeBase;
  TQelParser parser(std::make_shared<QelTreeRoot>(), rule);
  Configure(parser, in);
  const std::string text = in.Rest();
  parser.IsLongDouble(text);
  try {
    parser.LongDoubleToStr(parser.StrToLongDouble(text));
  } catch (const EngineError&) {
  }
  parser.SetExpression(text);
  if (!parser.CreateTree()) return 0;
  for (const char* x : kXTexts) {
    parser.SetX(x);
    const Outcome first = EvaluateOnce(parser);
    if (!(EvaluateOnce(parser) == first)) FuzzFailure("evaluating twice gave different results");
    parser.SetFaultChecking(FaultChecks::EachOperation);
    const Outcome checkedEach = EvaluateOnce(parser);
    parser.SetFaultChecking(FaultChecks::AtEnd);
    if (!(checkedEach == first)) FuzzFailure("the ways of finding faults gave different results");
  }
  CompareBlock(parser);
  return 0;
}
