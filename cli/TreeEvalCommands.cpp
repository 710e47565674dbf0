#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Cli.h"

namespace qelcli {
namespace {

std::string Prefix(const Tree& node) {
  if (!node.Left || !node.Right) return node.Text;
  return "(" + node.Text + " " + Prefix(*node.Left) + " " + Prefix(*node.Right) + ")";
}

// The exact 80-bit value in C99 hexadecimal notation.
std::string Hexadecimal(long double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%La", value);
  return buffer;
}

// The one expression of a subcommand, or every input line with --stdin.
std::vector<std::string> Expressions(const Arguments& parsed, bool& batch) {
  batch = parsed.Flags.contains("--stdin");
  const size_t wanted = batch ? 0 : 1;
  if (parsed.Positional.size() < wanted) throw UsageError("missing EXPRESSION");
  if (parsed.Positional.size() > wanted) {
    throw UsageError("unexpected argument '" + parsed.Positional[wanted] + "'");
  }
  return batch ? ReadInputLines() : parsed.Positional;
}

struct Outcome {
  enum Kind { kValid, kInvalid, kError } What = kInvalid;
  long double Value = 0;
  std::string Message;
};

Outcome Evaluated(TQelParser& engine, const std::string& expression) {
  engine.SetExpression(expression);
  if (!engine.CreateTree()) return {};
  try {
    const long double value = engine.Evaluate();
    return {Outcome::kValid, value, {}};
  } catch (const EngineError& e) {
    return {Outcome::kError, 0, e.what()};
  }
}

}  // namespace

int RunTree(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--stdin"});
  bool batch = false;
  const std::vector<std::string> expressions = Expressions(parsed, batch);
  TQelParser engine = MakeEngine(parsed.Engine);
  std::string out;
  bool valid = false;
  for (const std::string& expression : expressions) {
    engine.SetExpression(expression);
    valid = engine.CreateTree();
    out += engine.Expression() + (batch ? "\t" : "\n");
    out += (valid ? Prefix(engine.Root()) : "invalid") + "\n";
  }
  WriteOutput(out);
  return batch || valid ? kExitOk : kExitFailure;
}

int RunEval(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--stdin", "--exact"});
  bool batch = false;
  const std::vector<std::string> expressions = Expressions(parsed, batch);
  TQelParser engine = MakeEngine(parsed.Engine);
  std::string out;
  int status = kExitOk;
  for (const std::string& expression : expressions) {
    const Outcome outcome = Evaluated(engine, expression);
    if (outcome.What == Outcome::kInvalid) {
      out += "invalid\n";
      status = kExitFailure;
    } else if (outcome.What == Outcome::kError) {
      out += (batch ? "error\t" : "error: ") + outcome.Message + "\n";
      status = kExitEvaluationError;
    } else if (batch) {
      out += "ok\t" + engine.ErgebnisString() + "\t" + Hexadecimal(outcome.Value) + "\n";
    } else {
      out += engine.ErgebnisString() + "\n";
      if (parsed.Flags.contains("--exact")) out += Hexadecimal(outcome.Value) + "\n";
    }
  }
  WriteOutput(out);
  return batch ? kExitOk : status;
}

}  // namespace qelcli
