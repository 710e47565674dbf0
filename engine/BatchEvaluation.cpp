// Evaluation at blocks of readings that go through each step together.
#include <algorithm>

#include "engine/FloatFaults.h"
#include "engine/Operations.h"
#include "engine/ParserInternals.h"
#include "engine/QelParser.h"

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
