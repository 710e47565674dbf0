#pragma once

#include <functional>
#include <optional>

#include "analysis/TreeJet.h"

// The searches that narrow a bracket between two samples of a curve down to two neighbouring
// long doubles. They halve the bracket in the order of the numbers' bit patterns, so that any
// bracket closes in at most 80 halvings, and take Newton steps where the derivative allows.

// One sample: whether the function has a value at X (the engine's say), and its jet there.
struct Probe {
  long double X = 0;
  bool Defined = false;
  Jet J;
};

// The probe at x with its jet up to the given order (DifferentiatedFunction::At): each search
// takes the lowest order it looks at, and hands back probes that hold at least the value's slope.
using Evaluator = std::function<Probe(long double x, int order)>;

// The number halfway between a and b (a < b) in bit-pattern order; nothing when they are
// neighbours.
std::optional<long double> BitMidpoint(long double a, long double b);

// Lo and Hi neighbours (or the same point, where the order's component is exactly 0) with the
// order's component of opposite signs; Gap when a point without value was met inside, which is
// then Hi.
struct Narrowed {
  Probe Lo, Hi;
  bool Gap = false;
};

// Whether a bracket may still hold what its search looks for.
using BracketTest = std::function<bool(const Probe& lo, const Probe& hi)>;

// Narrows a sign change of the order's component (0: the value, 1: f', 2: f'') between lo and hi.
// With `breaks` false, a sign change that shows itself as a break (the change across the bracket
// stays while the bracket shrinks a thousandfold) is given up: nothing, as the caller wants no
// break. So is a bracket that fails `holds` once narrowed.
std::optional<Narrowed> NarrowSignChange(const Evaluator& at, int order, Probe lo, Probe hi,
                                         bool breaks = true, const BracketTest& holds = {});

// Follows the larger change of value between lo and hi down to neighbours; nothing when the change
// turns out to be what the derivatives explain (the function is continuous there).
std::optional<Narrowed> NarrowJump(const Evaluator& at, Probe lo, Probe hi);

// The last point with a value next to the first without, between a defined and an undefined probe.
Probe DomainEdge(const Evaluator& at, Probe defined, Probe undefined);

// Whether the change of the value (or of f' for order 1) between two probes is no more than their
// slopes and rounding explain.
bool Continuous(const Probe& a, const Probe& b, int order = 0);

// Whether the probes reach values beyond any the samples around them had (`sampled`): a pole.
bool GrewWithoutBound(const Probe& a, const Probe& b, long double sampled);
