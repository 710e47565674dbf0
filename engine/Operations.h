#pragma once

#include "engine/FloatFaults.h"
#include "engine/QelParser.h"

// The arithmetic of the operators, inline for the loops of single and batch evaluation; the
// functions, the power and mod are in Operations.cpp.

inline long double TQelParser::Checked(long double value) const {
  if (ChecksDeferred_) return value;
  Materialise(value);
  if (const int flags = TakeFaults()) RaiseFault(flags);
  return value;
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
