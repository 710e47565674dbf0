// Evaluation at one reading: the tree as a list of steps, run over a stack, with the fault flags
// read at the end or after each operation.
#include <optional>

#include "engine/FloatFaults.h"
#include "engine/Operations.h"
#include "engine/ParserInternals.h"
#include "engine/QelParser.h"

namespace {

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

// A function's code letter is part of its node and is not evaluated.
void AppendSteps(const Tree& node, std::vector<EvalStep>& steps) {
  const NodeKind kind = KindOf(node);
  if (kind != NodeKind::Leaf && kind != NodeKind::VariableX) {
    AppendSteps(*node.Right, steps);
    if (!IsFunction(kind)) AppendSteps(*node.Left, steps);
  }
  steps.push_back({kind, &node});
}

}  // namespace

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
