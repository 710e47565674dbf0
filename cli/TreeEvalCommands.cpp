#include <cmath>
#include <cstdio>
#include <optional>
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

// The expression of a single run; empty in batch mode (--stdin), where standard input has them.
std::optional<std::string> SingleExpression(const Arguments& parsed) {
  const bool batch = parsed.Flags.contains("--stdin");
  const size_t wanted = batch ? 0 : 1;
  if (parsed.Positional.size() < wanted) throw UsageError("missing EXPRESSION");
  if (parsed.Positional.size() > wanted) {
    throw UsageError("unexpected argument '" + parsed.Positional[wanted] + "'");
  }
  if (batch) return std::nullopt;
  return parsed.Positional[0];
}

// Every input line in turn; a line over the engine's bound is invalid without being kept.
template <typename Answer>
void ForEachBatchLine(Answer answer) {
  ForEachInputLine(TQelParser::kMaxExpressionLength,
                   [&answer](std::string_view line, bool tooLong) {
                     WriteOutput(answer(std::string(line), tooLong));
                   });
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

std::string TreeLine(TQelParser& engine, const std::string& expression, bool batch, bool& valid) {
  engine.SetExpression(expression);
  valid = engine.CreateTree();
  return engine.Expression() + (batch ? "\t" : "\n") + (valid ? Prefix(engine.Root()) : "invalid") +
         "\n";
}

// The lines for one expression; status takes the failure it met, if any.
std::string EvalLines(TQelParser& engine, const std::string& expression, bool batch, bool exact,
                      int& status) {
  const Outcome outcome = Evaluated(engine, expression);
  if (outcome.What == Outcome::kInvalid) {
    status = kExitFailure;
    return "invalid\n";
  }
  if (outcome.What == Outcome::kError) {
    status = kExitEvaluationError;
    return (batch ? "error\t" : "error: ") + outcome.Message + "\n";
  }
  if (batch) return "ok\t" + engine.ErgebnisString() + "\t" + Hexadecimal(outcome.Value) + "\n";
  return engine.ErgebnisString() + "\n" + (exact ? Hexadecimal(outcome.Value) + "\n" : "");
}

}  // namespace

int RunTree(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--stdin"});
  const std::optional<std::string> single = SingleExpression(parsed);
  TQelParser engine = MakeEngine(parsed.Engine);
  bool valid = false;
  if (single) {
    WriteOutput(TreeLine(engine, *single, false, valid));
    return valid ? kExitOk : kExitFailure;
  }
  ForEachBatchLine([&](const std::string& line, bool tooLong) {
    return tooLong ? std::string("\tinvalid\n") : TreeLine(engine, line, true, valid);
  });
  return kExitOk;
}

int RunEval(const std::vector<std::string>& args) {
  const Arguments parsed = ParseArguments(args, {}, {"--stdin", "--exact"});
  const std::optional<std::string> single = SingleExpression(parsed);
  TQelParser engine = MakeEngine(parsed.Engine);
  int status = kExitOk;
  if (single) {
    WriteOutput(EvalLines(engine, *single, false, parsed.Flags.contains("--exact"), status));
    return status;
  }
  ForEachBatchLine([&](const std::string& line, bool tooLong) {
    return tooLong ? std::string("invalid\n") : EvalLines(engine, line, true, false, status);
  });
  return kExitOk;
}

}  // namespace qelcli
