#include "engine/QelParser.h"

#include <algorithm>
#include <cfenv>
#include <cfloat>
#include <cmath>
#include <string_view>

#include "engine/FloatFaults.h"
#include "engine/NumberText.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr int kFaults = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
constexpr long double kTrigLimit = 9007199254740992.0L;  // 2^53
constexpr const char* kNegativeBase = "Kein negativer Ausdruck unter Wurzel erlaubt.";
constexpr const char* kLogDomain = "Log von X mit X <= 0";

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool EqualsLower(std::string_view text, std::string_view lowerName) {
  if (text.size() != lowerName.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (Lower(text[i]) != lowerName[i]) return false;
  }
  return true;
}

bool StartsWithLower(std::string_view text, size_t at, std::string_view lowerName) {
  return text.size() - at >= lowerName.size() &&
         EqualsLower(text.substr(at, lowerName.size()), lowerName);
}

// The value must exist before the flags are read; the barrier keeps the operation ahead of the
// test.
void Materialise(long double& value) {
#if defined(__x86_64__)
  asm volatile("" : "+t"(value));
#else
  asm volatile("" : "+m"(value));
#endif
}

// The raised fault flags of the x87 unit and of SSE, read in place: the same test as fetestexcept
// without the call, which matters once per operation.
int RaisedFaults() {
#if defined(__x86_64__)
  static_assert(FE_INVALID == 0x01 && FE_DIVBYZERO == 0x04 && FE_OVERFLOW == 0x08,
                "the flags sit at the same bits in the x87 status word and in MXCSR");
  uint16_t status = 0;
  uint32_t control = 0;
  asm volatile("fnstsw %0" : "=am"(status));
  asm volatile("stmxcsr %0" : "=m"(control));
  return (status | control) & kFaults;
#else
  return std::fetestexcept(kFaults);
#endif
}

// Flags are cheap to test and dear to clear, so they are cleared only when found set.
int TakeFaults() {
  const int flags = RaisedFaults();
  if (flags != 0) std::feclearexcept(kFaults);
  return flags;
}

[[noreturn]] void RaiseFault(int flags) {
  throw EngineError(FloatFaultMessage(flags));
}

// fegetround without the call: the x87 rounding bits, which fesetround keeps equal to SSE's.
bool RoundsToNearest() {
#if defined(__x86_64__)
  uint16_t control = 0;
  asm volatile("fnstcw %0" : "=m"(control));
  return (control & 0x0C00) == 0;
#else
  return std::fegetround() == FE_TONEAREST;
#endif
}

bool IsWhole(long double r) {
  return !std::isnan(r) && std::truncl(r) == r;
}

// sin, cos and tan take their argument rounded to double; beyond 2^53 they give not-a-number.
long double Trig(double (*function)(double), long double v) {
  if (std::isgreaterequal(std::fabs(v), kTrigLimit)) return NAN;
  const double d = static_cast<double>(v);
  if (std::isgreaterequal(std::fabs(d), static_cast<double>(kTrigLimit))) return NAN;
  return function(d);
}

// A separator that cannot be mistaken for part of a number can be read in place.
bool IsPlainSeparator(char c) {
  return !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != 'e' && c != 'E' &&
         !(c == ' ' || (c >= '\t' && c <= '\r'));
}

// The text the C library would be given: both separators replaced by ".".
std::string ConversionText(std::string text, char dot, char comma) {
  for (char& c : text) {
    if (c == comma || c == dot) c = '.';
  }
  return text;
}

bool WithinBounds(const std::string& text) {
  if (text.size() > TQelParser::kMaxExpressionLength) return false;
  int depth = 0;
  for (const char c : text) {
    if (c == '(' && ++depth > TQelParser::kMaxNesting) return false;
    if (c == ')') --depth;
  }
  return true;
}

// Bar and candidate level of an operator character at a bracket level; false for other characters.
bool OperatorLevels(char c, int bracket, int& bar, int& candidate) {
  switch (c) {
    case '+':
      bar = bracket + 1;
      candidate = bracket + 2;
      return true;
    case '-':
      bar = candidate = bracket + 1;
      return true;
    case '*':
    case '/':
    case 'm':
      bar = candidate = bracket + 2;
      return true;
    case '^':
      bar = candidate = bracket + 4;
      return true;
    case '#':
      bar = candidate = bracket + 8;
      return true;
    default:
      return false;
  }
}

bool IsOperator(char c) {
  switch (c) {
    case '+':
    case '*':
    case '-':
    case '/':
    case 'm':
    case '^':
    case '#':
      return true;
    default:
      return false;
  }
}

// Cheap rejection of texts the strict number grammar can never accept.
bool CouldBeNumber(const std::string& text, char separator) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool allowed =
        (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E' || c == separator;
    if (!allowed) return false;
  }
  return true;
}

// Trailing zeros after the separator go, then a trailing separator; a leading one gets a "0".
void TrimZerosAndSeparator(std::string& text, const std::string& separator) {
  const size_t dot = separator.size() == 1 ? text.find(separator[0]) : text.find(separator);
  if (dot == std::string::npos) return;
  size_t end = text.size();
  while (end > dot + 1 && text[end - 1] == '0') --end;
  text.resize(end);
  if (text.ends_with(separator)) text.resize(text.size() - separator.size());
  if (text.starts_with(separator)) text.insert(0, 1, '0');
}

std::shared_ptr<QelTreeRoot> ApplicationRoot() {
  static const auto root = std::make_shared<QelTreeRoot>();
  return root;
}

}  // namespace

namespace {

NodeKind FunctionKind(const std::string& code) {
  if (code.size() != 1) return NodeKind::OtherFunction;
  switch (code[0]) {
    case 's':
      return NodeKind::Sin;
    case 'c':
      return NodeKind::Cos;
    case 't':
      return NodeKind::Tan;
    case 'n':
      return NodeKind::Ln;
    case 'g':
      return NodeKind::Lg;
    case 'r':
      return NodeKind::Abs;
    default:
      return NodeKind::OtherFunction;
  }
}

NodeKind KindOf(const Tree& node) {
  const std::string& text = node.Text;
  // Only a node with both operands is an operator; anything else converts as a leaf.
  if (text.size() != 1 || !node.Left || !node.Right || !IsOperator(text[0])) {
    return EqualsLower(text, "x") ? NodeKind::VariableX : NodeKind::Leaf;
  }
  switch (text[0]) {
    case '+':
      return NodeKind::Add;
    case '-':
      return NodeKind::Subtract;
    case '*':
      return NodeKind::Multiply;
    case '/':
      return NodeKind::Divide;
    case 'm':
      return NodeKind::Mod;
    case '^':
      return NodeKind::Power;
    default:
      return FunctionKind(node.Left->Text);
  }
}

bool IsFunction(NodeKind kind) {
  return kind >= NodeKind::Sin;
}

// A function's code letter is part of its node and is not evaluated.
void AppendSteps(const Tree& node, std::vector<EvalStep>& steps) {
  const NodeKind kind = KindOf(node);
  if (kind != NodeKind::Leaf && kind != NodeKind::VariableX) {
    AppendSteps(*node.Right, steps);
    if (!IsFunction(kind)) AppendSteps(*node.Left, steps);
  }
  steps.push_back({kind, &node});
}

template <typename F>
struct AtScopeExit {
  F Leave;
  ~AtScopeExit() { Leave(); }
};
template <typename F>
AtScopeExit(F) -> AtScopeExit<F>;

bool MemoFits(const LeafMemo& memo, char dot, char comma) {
  return memo.Valid && memo.Dot == dot && memo.Comma == comma;
}

bool NamesAValue(std::string_view text) {
  if (text.size() > 2) return false;
  for (const std::string_view name : {"a", "b", "c", "d", "pi", "e"}) {
    if (EqualsLower(text, name)) return true;
  }
  return false;
}

// Whether x at this reading is the value read with its text: the memo fits and the text names no
// variable or constant that substitution would go on to.
bool TakenAsRead(const std::string& text, const LeafMemo& memo, char dot, char comma) {
  return MemoFits(memo, dot, comma) && !NamesAValue(text);
}

}  // namespace

TQelParser::TQelParser() : TQelParser(ApplicationRoot(), PowerRule::CheckNegativeBase) {}

TQelParser::TQelParser(std::shared_ptr<QelTreeRoot> root, PowerRule powerRule)
    : Root_(std::move(root)), PowerRule_(powerRule) {}

void TQelParser::InitLandDot() {
  if (!OverwriteDecimalSymbol_.empty()) {
    if (LandDot_ != OverwriteDecimalSymbol_) LandDot_ = OverwriteDecimalSymbol_;
    return;
  }
  const char regional = RegionalDecimalSeparator();
  if (LandDot_.size() != 1 || LandDot_[0] != regional) LandDot_.assign(1, regional);
}

std::string TQelParser::EntferneLeerzeichen(const std::string& text) const {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    if (c != ' ') out += c;
  }
  return out;
}

std::string TQelParser::EntferneKlammern(const std::string& text) const {
  if (text.empty() || text.front() != '(' || text.back() != ')') return text;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') {
      if (depth != 0 || i == 0) {
        ++depth;
      } else {
        return text;
      }
    } else if (text[i] == ')') {
      --depth;
    }
  }
  return text.substr(1, text.size() - 2);
}

std::string TQelParser::WandleSinCosTanUm(const std::string& text) const {
  struct Name {
    std::string_view Lower;
    std::string_view Code;
  };
  static constexpr Name kNames[] = {{"sin", "s#"}, {"cos", "c#"}, {"tan", "t#"}, {"ln", "n#"},
                                    {"lg", "g#"},  {"abs", "r#"}, {"mod", "m"}};
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    const Name* match = nullptr;
    for (const Name& name : kNames) {
      if (StartsWithLower(text, i, name.Lower)) {
        match = &name;
        break;
      }
    }
    if (match != nullptr) {
      out += match->Code;
      i += match->Lower.size();
    } else {
      if (ConvertAllColonsAndDots_ && (c == '.' || c == ',')) {
        out += LandDot_;
      } else {
        out += c;
      }
      ++i;
    }
  }
  return out;
}

std::string TQelParser::Assiotiativitaet(const std::string& text) const {
  size_t firstMinus = std::string::npos;
  size_t firstProduct = std::string::npos;
  bool plus = false;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '(') ++depth;
    if (c == ')') --depth;
    if (depth != 0) continue;
    if (c == '-' && firstMinus == std::string::npos) firstMinus = i;
    if (c == '+') plus = true;
    if ((c == '*' || c == '/' || c == 'm') && firstProduct == std::string::npos) firstProduct = i;
  }
  char from = 0;
  char to = 0;
  size_t start = 0;
  if (firstMinus != std::string::npos) {
    from = '+', to = '-', start = firstMinus;
  } else if (!plus && firstProduct != std::string::npos && text[firstProduct] == '/') {
    from = '*', to = '/', start = firstProduct;
  } else {
    return text;
  }
  std::string out = text;
  depth = 0;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '(') ++depth;
    if (out[i] == ')') --depth;
    if (depth != 0 || i <= start) continue;
    if (out[i] == from) {
      out[i] = to;
    } else if (out[i] == to) {
      out[i] = from;
    }
  }
  return out;
}

void TQelParser::SplitLowest(std::string& left, std::string& right, std::string& op,
                             const std::string& text) const {
  const std::string rewritten = Assiotiativitaet(text);
  int bracket = 0;
  int best = 0;
  size_t position = std::string::npos;
  for (size_t i = 0; i < rewritten.size(); ++i) {
    const char c = rewritten[i];
    if (c == '(') bracket += 16;
    if (c == ')') bracket -= 16;
    int bar = 0;
    int candidate = 0;
    if (!OperatorLevels(c, bracket, bar, candidate)) continue;
    if (position == std::string::npos || bar < best) {
      best = candidate;
      position = i;
    }
  }
  if (position == std::string::npos) {
    left.clear(), right.clear(), op.clear();
    return;
  }
  op.assign(1, rewritten[position]);
  left = EntferneKlammern(rewritten.substr(0, position));
  right = EntferneKlammern(rewritten.substr(position + 1));
}

bool TQelParser::IsLongDouble(const std::string& text) const {
  if (!CouldBeNumber(text, RegionalDecimalSeparator())) return false;
  try {
    return FloatToStr(StrToFloat(text)) == text;
  } catch (const ConvertError&) {
    return false;
  }
}

bool TQelParser::IsZahl(const std::string& text) const {
  if (text.size() == 1 && std::string_view("sctngr").find(text[0]) != std::string_view::npos) {
    return true;
  }
  for (const std::string_view name : {"x", "a", "b", "c", "d", "pi", "e"}) {
    if (EqualsLower(text, name)) return true;
  }
  return IsLongDouble(text);
}

bool TQelParser::MakeTree(Tree& node, const std::string& text) const {
  std::string left, right, op;
  SplitLowest(left, right, op, text);
  if (left.empty() && op == "-") left.push_back('0');
  if (op.empty() && left.empty() && right.empty()) {
    if (!IsZahl(text)) return false;
    node.Text = text;
    return true;
  }
  if (op.empty() || left.empty() || right.empty()) return false;
  // `text` may be node.Text itself; it is not read after this point.
  node.Text = op;
  node.Left = std::make_unique<Tree>();
  node.Left->Text = std::move(left);
  node.Right = std::make_unique<Tree>();
  node.Right->Text = std::move(right);
  // The parts wait in the children's texts, so deep chains do not hold a copy per level.
  const bool leftBuilt = IsZahl(node.Left->Text) || MakeTree(*node.Left, node.Left->Text);
  const bool rightBuilt = IsZahl(node.Right->Text) || MakeTree(*node.Right, node.Right->Text);
  return leftBuilt && rightBuilt;
}

bool TQelParser::CreateTree() {
  InitLandDot();
  const bool bounded = WithinBounds(Expression_);
  Expression_ = EntferneLeerzeichen(Expression_);
  Expression_ = EntferneKlammern(Expression_);
  Expression_ = WandleSinCosTanUm(Expression_);
  Tree fresh;
  const bool built = bounded && MakeTree(fresh, Expression_);
  Root_->Root = std::move(fresh);
  Root_->Steps.clear();
  return built;
}

long double TQelParser::Evaluate() {
  const long double value = EvaluateValue();
  ErgebnisString_ = LongDoubleToStr(value);
  return value;
}

long double TQelParser::EvaluateValue() {
  if (!RoundsToNearest()) std::fesetround(FE_TONEAREST);
  InitLandDot();
  LandDotFresh_ = true;
  const AtScopeExit restore{[this] { LandDotFresh_ = false; }};
  if (FaultChecks_ == FaultChecks::AtEnd) {
    if (const std::optional<long double> value = EvalChecksAtEnd()) return *value;
  }
  // Faults left behind by code outside the engine must not be taken for this evaluation's.
  TakeFaults();
  return Run();
}

// Nothing in this pass reads or clears the flags: each place whose result depends on them acts as
// if none were raised. The flags are sticky, so when none is raised at the end (or at an error),
// no operation raised one, and checking after each would have taken the very same steps: the
// value or the error stands. Otherwise (a fault, or flags left by code outside the engine) there
// is no answer yet.
std::optional<long double> TQelParser::EvalChecksAtEnd() {
  ChecksDeferred_ = true;
  const AtScopeExit restore{[this] { ChecksDeferred_ = false; }};
  try {
    long double value = Run();
    Materialise(value);
    if (RaisedFaults() == 0) return value;
  } catch (const EngineError&) {
    if (RaisedFaults() == 0) throw;
  }
  return std::nullopt;
}

inline long double TQelParser::Checked(long double value) const {
  if (ChecksDeferred_) return value;
  Materialise(value);
  if (const int flags = TakeFaults()) RaiseFault(flags);
  return value;
}

int TQelParser::TakeFaultsUnlessDeferred() const {
  return ChecksDeferred_ ? 0 : TakeFaults();
}

bool TQelParser::Faulted(long double value) const {
  Materialise(value);
  return TakeFaultsUnlessDeferred() != 0;
}

void TQelParser::EvaluateAt(const VariableReading* xs, size_t count, long double* values,
                            bool* failed) {
  for (size_t first = 0; first < count; first += kBatch) {
    const size_t n = std::min(kBatch, count - first);
    if (FaultChecks_ != FaultChecks::AtEnd ||
        !EvalBatchChecksAtEnd(xs + first, n, values + first, failed + first)) {
      EvalEach(xs + first, n, values + first, failed + first);
    }
  }
  if (count > 0) SetX(xs[count - 1]);
}

void TQelParser::EvalEach(const VariableReading* xs, size_t count, long double* values,
                          bool* failed) {
  for (size_t i = 0; i < count; ++i) {
    SetX(xs[i]);
    try {
      values[i] = EvaluateValue();
      failed[i] = false;
    } catch (const EngineError&) {
      failed[i] = true;
    }
  }
}

// The readings go through each step together, so that a step is chosen once for them all and the
// flags are read once at the end; what EvalChecksAtEnd says holds for each reading, as none of its
// operations depends on another reading's. A reading that raised is left alone by later steps.
// False when the readings must be evaluated one at a time: a fault was raised, or an x would not
// be taken as its reading's value.
bool TQelParser::EvalBatchChecksAtEnd(const VariableReading* xs, size_t count, long double* values,
                                      bool* failed) {
  if (!RoundsToNearest()) std::fesetround(FE_TONEAREST);
  InitLandDot();
  const char dot = MemoDot(), comma = MemoComma();
  for (size_t i = 0; i < count; ++i) {
    if (!TakenAsRead(xs[i].Text, xs[i].Memo, dot, comma)) return false;
  }
  const std::vector<EvalStep>& steps = Steps();
  if (BatchStack_.size() < steps.size() * kBatch) BatchStack_.resize(steps.size() * kBatch);
  std::fill_n(failed, count, false);
  TakeFaults();
  {
    ChecksDeferred_ = LandDotFresh_ = true;
    const AtScopeExit restore{[this] { ChecksDeferred_ = LandDotFresh_ = false; }};
    long double* top = BatchStack_.data();
    for (const EvalStep& step : steps) {
      if (step.Kind == NodeKind::VariableX) {
        for (size_t i = 0; i < count; ++i) top[i] = xs[i].Memo.Value;
        top += kBatch;
      } else if (step.Kind == NodeKind::Leaf) {
        std::fill_n(top, count, BatchLeaf(*step.Node, dot, comma, count, failed));
        top += kBatch;
      } else if (IsFunction(step.Kind)) {
        RunBatchStep(step.Kind, top - kBatch, nullptr, count, failed);
      } else {
        top -= kBatch;
        RunBatchStep(step.Kind, top - kBatch, top, count, failed);
      }
    }
    std::copy_n(BatchStack_.data(), count, values);
  }
  // The values are in memory, so every operation is done before the flags are read.
  asm volatile("" ::: "memory");
  if (RaisedFaults() == 0) return true;
  TakeFaults();
  return false;
}

// A leaf other than x has the same value at every reading; when it raises, every reading does.
long double TQelParser::BatchLeaf(const Tree& node, char dot, char comma, size_t count,
                                  bool* failed) {
  if (MemoFits(node.Memo, dot, comma)) return node.Memo.Value;
  try {
    return EvalLeaf(node);
  } catch (const EngineError&) {
    std::fill_n(failed, count, true);
    return 0;
  }
}

// Applies an operator (right operands in `operand`, left ones in `left`) or a function (`left`
// null) to the readings that have not raised, in place.
void TQelParser::RunBatchStep(NodeKind kind, long double* operand, const long double* left,
                              size_t count, bool* failed) {
  for (size_t i = 0; i < count; ++i) {
    if (failed[i]) continue;
    try {
      operand[i] = left ? EvalOperator(kind, left[i], operand[i]) : EvalFunction(kind, operand[i]);
    } catch (const EngineError&) {
      failed[i] = true;
    }
  }
}

VariableReading TQelParser::ReadVariable(std::string text) {
  InitLandDot();
  VariableReading reading{std::move(text), {}};
  try {
    reading.Memo.Value = ConvertNumber(reading.Text);
  } catch (const EngineError&) {
    return reading;
  }
  reading.Memo.Valid = true;
  reading.Memo.Dot = MemoDot();
  reading.Memo.Comma = MemoComma();
  return reading;
}

void TQelParser::SetX(std::string value) {
  X_ = std::move(value);
  if (VariableMemoIsX_) VariableMemo_.Valid = false;
  VariableMemoIsX_ = false;
}

void TQelParser::SetX(const VariableReading& x) {
  X_ = x.Text;
  VariableMemo_ = x.Memo;
  VariableMemoIsX_ = x.Memo.Valid;
}

TQelParser TQelParser::Sibling() const {
  TQelParser sibling = *this;
  sibling.Root_ = std::make_shared<QelTreeRoot>();
  return sibling;
}

inline long double TQelParser::EvalOperator(NodeKind kind, long double l, long double r) {
  switch (kind) {
    case NodeKind::Add:
      return Checked(l + r);
    case NodeKind::Multiply:
      return l == 0 || r == 0 ? 0.0L : Checked(l * r);
    case NodeKind::Subtract:
      return Checked(l - r);
    case NodeKind::Divide:
      if (r == 0) throw EngineError("Division durch 0");
      return Checked(l / r);
    case NodeKind::Mod:
      return modl(l, r);
    default:
      return EvalPower(l, r);
  }
}

const std::vector<EvalStep>& TQelParser::Steps() {
  std::vector<EvalStep>& steps = Root_->Steps;
  if (steps.empty()) AppendSteps(Root_->Root, steps);
  return steps;
}

long double TQelParser::Run() {
  const std::vector<EvalStep>& steps = Steps();
  if (Stack_.size() < steps.size()) Stack_.resize(steps.size());
  const char dot = MemoDot(), comma = MemoComma();
  long double* top = Stack_.data();
  for (const EvalStep& step : steps) {
    if (step.Kind == NodeKind::Leaf) {
      const LeafMemo& memo = step.Node->Memo;
      *top++ = MemoFits(memo, dot, comma) ? memo.Value : EvalLeaf(*step.Node);
    } else if (step.Kind == NodeKind::VariableX) {
      *top++ = EvalX(*step.Node);
    } else if (IsFunction(step.Kind)) {
      top[-1] = EvalFunction(step.Kind, top[-1]);
    } else {
      const long double l = *--top;
      top[-1] = EvalOperator(step.Kind, l, top[-1]);
    }
  }
  return top[-1];
}

long double TQelParser::EvalFunction(NodeKind kind, long double v) {
  switch (kind) {
    case NodeKind::Sin:
      return Checked(Trig(std::sin, v));
    case NodeKind::Cos:
      return Checked(Trig(std::cos, v));
    case NodeKind::Tan:
      return Checked(Trig(std::tan, v));
    case NodeKind::Ln:
      if (!std::isgreater(v, 0.0L)) throw EngineError(kLogDomain);
      return Checked(std::log(v));
    case NodeKind::Lg: {
      if (!std::isgreater(v, 0.0L)) throw EngineError(kLogDomain);
      static const long double kLn10 = std::log(10.0L);
      return Checked(std::log(v) / kLn10);
    }
    case NodeKind::Abs:
      return std::fabs(v);
    default:
      return 0;
  }
}

long double TQelParser::EvalPower(long double l, long double r) const {
  const bool checked = PowerRule_ == PowerRule::CheckNegativeBase;
  if (checked && std::isless(l, 0.0L) && !IsWhole(r)) throw EngineError(kNegativeBase);
  const double base = static_cast<double>(l);
  const double exponent = static_cast<double>(r);
  if ((std::isinf(base) && !std::isinf(l)) || (std::isinf(exponent) && !std::isinf(r))) {
    TakeFaultsUnlessDeferred();
    throw EngineError(checked ? kNegativeBase : "Floating point overflow");
  }
  const double power = std::pow(base, exponent);
  // Only an invalid operation is a fault of the power itself; range errors have fixed results.
  if ((TakeFaultsUnlessDeferred() & FE_INVALID) != 0 && checked) throw EngineError(kNegativeBase);
  if (std::isinf(power)) return INFINITY;
  // Zero and results below the double range are +0 whatever the base's sign: "-0" would be shown.
  if (std::isless(std::fabs(power), DBL_MIN)) return 0;
  return power;
}

long double TQelParser::modl(long double a, long double b) const {
  if (b == 0) return 0;
  const long double q = a / b;
  if (Faulted(q) || !std::isfinite(q)) return a;
  const long double result = a - std::truncl(q) * b;
  return Faulted(result) ? a : result;
}

const std::string& TQelParser::SubstituteName(const std::string& text, std::string& scratch) const {
  if (text.size() > 2) return text;  // no name is longer
  const std::string* s = &text;
  if (EqualsLower(*s, "x")) s = &X_;
  if (EqualsLower(*s, "a")) s = &A_;
  if (EqualsLower(*s, "b")) s = &B_;
  if (EqualsLower(*s, "c")) s = &C_;
  if (EqualsLower(*s, "d")) s = &D_;
  if (EqualsLower(*s, "pi")) {
    scratch = "3" + LandDot_ + "1415927";
    s = &scratch;
  }
  if (EqualsLower(*s, "e")) {
    scratch = "2" + LandDot_ + "7182818";
    s = &scratch;
  }
  return *s;
}

long double TQelParser::StrToLongDouble(const std::string& text) {
  InitLandDot();
  std::string scratch;
  return ConvertNumber(SubstituteName(text, scratch));
}

// x at a reading given to SetX: the value read with its text.
long double TQelParser::EvalX(const Tree& node) {
  if (VariableMemoIsX_ && TakenAsRead(X_, VariableMemo_, MemoDot(), MemoComma())) {
    return VariableMemo_.Value;
  }
  return EvalLeaf(node);
}

// A leaf is read from its text at every evaluation; a number text, and a constant's text under a
// one-character separator, give the same value as long as the separators stay, so the node keeps
// that value. A variable's value is remembered with its text.
long double TQelParser::EvalLeaf(const Tree& node) {
  if (!LandDotFresh_) InitLandDot();
  const char dot = MemoDot(), comma = MemoComma();
  if (MemoFits(node.Memo, dot, comma)) return node.Memo.Value;
  std::string scratch;
  const std::string& source = SubstituteName(node.Text, scratch);
  const bool fixedText = &source == &node.Text;
  const bool constant = !fixedText && LandDot_.size() == 1 &&
                        (EqualsLower(node.Text, "pi") || EqualsLower(node.Text, "e"));
  if (fixedText || constant) {
    const long double value = ConvertNumber(source);
    node.Memo = {true, dot, comma, value};
    return value;
  }
  LeafMemo& memo = VariableMemo_;
  const bool sameText = VariableMemoIsX_ ? &source == &X_ : VariableText_ == source;
  if (memo.Valid && memo.Dot == dot && memo.Comma == comma && sameText) return memo.Value;
  const long double value = ConvertNumber(source);
  memo = {true, dot, comma, value};
  VariableText_ = source;
  VariableMemoIsX_ = false;
  return value;
}

long double TQelParser::ConvertNumber(const std::string& source) const {
  const char dot = MemoDot(), comma = MemoComma();
  const DecimalReading reading =
      IsPlainSeparator(dot) ? ReadLeadingDecimal(source, dot, comma)
                            : ReadLeadingDecimal(ConversionText(source, dot, comma), '.', '.');
  if (reading.Overflow) {
    TakeFaultsUnlessDeferred();
    throw EngineError(ConversionText(source, dot, comma) +
                      " kann nicht in eine Zahl umgewandelt werden! (STD)");
  }
  return reading.Value;
}

std::string TQelParser::LongDoubleToStr(long double value) {
  InitLandDot();
  if (std::isnan(value)) return "NAN";
  const bool negative = std::signbit(value);
  const double d = static_cast<double>(value);
  if (std::isinf(d)) {
    TakeFaults();
    return negative ? "-INF" : "INF";
  }
  const FixedDigits fixed = RoundToFixedDigits(d, std::max(Precision_, 0));
  std::string text;
  if (fixed.Point > 0) {
    const auto whole = static_cast<size_t>(fixed.Point);
    text.append(fixed.Digits, 0, whole);
    if (text.size() < whole) text.append(whole - text.size(), '0');
    text += LandDot_;
    if (fixed.Digits.size() > whole) text.append(fixed.Digits, whole);
  } else {
    text += '0';
    text += LandDot_;
    text.append(static_cast<size_t>(-fixed.Point), '0');
    text += fixed.Digits;
  }
  TrimZerosAndSeparator(text, LandDot_);
  if (!negative) return text;
  std::string withSign(1, '-');
  withSign += text;
  return withSign;
}

std::string TQelParser::EntferneNullenUndPunkte(const std::string& text) const {
  std::string out = text;
  TrimZerosAndSeparator(out, LandDot_);
  return out;
}
