#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// An error raised while evaluating; the message is the German text the windows show.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What evaluation remembers of a leaf whose text is a number: its value under the separators it
// was read with. It spares re-reading the text and never changes a result.
struct LeafMemo {
  bool Valid = false;
  char Dot = 0;
  char Comma = 0;
  long double Value = 0;
};

// A variable's text with its value read once, so that evaluations at that text need not read it
// again; Memo.Valid is false when reading the text raises (evaluation raises then as always).
struct VariableReading {
  std::string Text;
  LeafMemo Memo;
};

// A node of the expression tree: an operator with both operands, or a leaf (number, variable,
// constant or function code letter).
struct Tree {
  std::string Text;
  std::unique_ptr<Tree> Right;
  std::unique_ptr<Tree> Left;
  mutable LeafMemo Memo;
};

// What a node computes, as its text and children say.
enum class NodeKind : uint8_t {
  Leaf,
  VariableX,
  Add,
  Subtract,
  Multiply,
  Divide,
  Mod,
  Power,
  Sin,
  Cos,
  Tan,
  Ln,
  Lg,
  Abs,
  OtherFunction
};

// One node in the order evaluation takes them: a leaf's value is put on a stack, an operator takes
// its left operand (on top) and its right one off it, a function its argument, and each puts its
// result back.
struct EvalStep {
  NodeKind Kind;
  const Tree* Node;
};

// The tree that CreateTree fills and Evaluate computes, with its nodes in evaluation order (right
// operand, left operand, operator), made at its first evaluation. The application's engines share
// one root; an engine that must not disturb them (the stand-alone plotting component) brings its
// own.
struct QelTreeRoot {
  Tree Root;
  std::vector<EvalStep> Steps;
};

// When evaluation reads the floating-point fault flags: after each operation, or only where a
// result depends on them and once at the end, going over the tree again with a check after each
// operation when any fault was raised. Both give the same values, errors and messages.
enum class FaultChecks { EachOperation, AtEnd };

// How "^" treats a negative base with a fractional exponent and faults inside the power
// computation: reported as an error, or passed on as the library's result and fault.
enum class PowerRule { CheckNegativeBase, Plain };

// The expression engine. SetExpression and CreateTree turn a function text such as
// "2*sin(x)^2-a" into a binary tree; SetX (and SetA .. SetD) and Evaluate compute it for one x.
// Building first normalises the text (blanks and outer brackets removed, function names replaced
// by one-letter codes joined to their argument by "#"), then splits it recursively at its operator
// of the lowest precedence (SplitLowest). The tree lives in a QelTreeRoot that the engine shares
// with whoever created it; the engine owns only its node memos. Errors: CreateTree answers false
// for a text that is no expression; Evaluate throws EngineError with the German message the
// windows show (domain errors, floating-point faults, numbers beyond the range). Every number is
// a long double; variables are held as texts and read with the decimal separator in LandDot.
class TQelParser {
 public:
  // Shares the application's tree root and checks negative bases.
  TQelParser();
  TQelParser(std::shared_ptr<QelTreeRoot> root, PowerRule powerRule);

  // The inputs: the expression text, the digits after the separator in ErgebnisString, the
  // variables' texts, a decimal separator that replaces the regional one when not empty, and
  // whether "." and "," in the expression both become that separator.
  const std::string& Expression() const { return Expression_; }
  void SetExpression(std::string value) { Expression_ = std::move(value); }
  int32_t Precision() const { return Precision_; }
  void SetPrecision(int32_t value) { Precision_ = value; }
  const std::string& X() const { return X_; }
  void SetX(std::string value);
  // Sets X to the reading's text; its value is taken as read when the separators still match.
  void SetX(const VariableReading& x);
  const std::string& A() const { return A_; }
  void SetA(std::string value) { A_ = std::move(value); }
  const std::string& B() const { return B_; }
  void SetB(std::string value) { B_ = std::move(value); }
  const std::string& C() const { return C_; }
  void SetC(std::string value) { C_ = std::move(value); }
  const std::string& D() const { return D_; }
  void SetD(std::string value) { D_ = std::move(value); }
  const std::string& OverwriteDecimalSymbol() const { return OverwriteDecimalSymbol_; }
  void SetOverwriteDecimalSymbol(std::string value) { OverwriteDecimalSymbol_ = std::move(value); }
  bool ConvertAllColonsAndDots() const { return ConvertAllColonsAndDots_; }
  void SetConvertAllColonsAndDots(bool value) { ConvertAllColonsAndDots_ = value; }
  FaultChecks FaultChecking() const { return FaultChecks_; }
  void SetFaultChecking(FaultChecks value) { FaultChecks_ = value; }
  // The last Evaluate's result as text (see LongDoubleToStr).
  const std::string& ErgebnisString() const { return ErgebnisString_; }

  // Builds the tree of Expression (normalised first); false when the expression is invalid.
  bool CreateTree();
  // The tree's value for the current variables; sets ErgebnisString. Throws EngineError.
  long double Evaluate();
  // Evaluate without writing ErgebnisString, for loops that keep only their last result's text.
  long double EvaluateValue();
  // Evaluates at each reading as SetX and EvaluateValue would, keeping only whether each raised:
  // values[i], or failed[i] set. X is left at the last reading.
  void EvaluateAt(const VariableReading* xs, size_t count, long double* values, bool* failed);
  // ErgebnisString as Evaluate leaves it after computing the value.
  void RecordResult(long double value) { ErgebnisString_ = LongDoubleToStr(value); }
  // Reads a text as the value of a variable leaf would be read.
  VariableReading ReadVariable(std::string text);
  // The same settings, variables and power rule over a tree root of its own, for evaluating
  // another expression beside this engine.
  TQelParser Sibling() const;
  // The value of a number text or a variable's name, read as a leaf is. Throws EngineError.
  long double StrToLongDouble(const std::string& text);
  // Fixed-point text with Precision digits, trailing zeros and separator removed; "INF", "-INF",
  // "NAN" for values that have no digits.
  std::string LongDoubleToStr(long double value);
  // Whether the text is a number that reads back to the same text.
  bool IsLongDouble(const std::string& text) const;

  // Takes the decimal separator: OverwriteDecimalSymbol when set, else the regional one.
  void InitLandDot();
  // The text without blanks.
  std::string EntferneLeerzeichen(const std::string& text) const;
  // The text without one pair of brackets that encloses all of it.
  std::string EntferneKlammern(const std::string& text) const;
  // Function names to codes: sin s#, cos c#, tan t#, ln n#, lg g#, abs r#, mod m.
  std::string WandleSinCosTanUm(const std::string& text) const;
  // Rewrites a level so that splitting at its first "-" (or first "/") still computes from left
  // to right: the "+" and "-" (or "*" and "/") after it swap, so "a-b+c" becomes "a-b-c" read as
  // a-(b-c).
  std::string Assiotiativitaet(const std::string& text) const;
  // Splits the text (after Assiotiativitaet) at its operator of the lowest precedence; all three
  // parts are empty when it has none. An operator's level is its bracket depth times 16 plus:
  //
  //   operator      level  among equals at one depth
  //   -             +1     the first one is taken
  //   +             +1/+2  the last one is taken (it competes at +1, is held at +2)
  //   * / m (mod)   +2     the first one is taken
  //   ^             +4     the first one is taken: a^b^c is a^(b^c)
  //   # (function)  +8     binds a function code to its argument
  //
  // A later operator replaces the one held when its level is below the held one's.
  void SplitLowest(std::string& left, std::string& right, std::string& op,
                   const std::string& text) const;
  // Whether the text is a leaf: a function code, a variable, pi, e or a number.
  bool IsZahl(const std::string& text) const;
  // Builds the subtree of a text into node; false when a part is no expression.
  bool MakeTree(Tree& node, const std::string& text) const;
  // The remainder of a / b truncated towards zero; 0 for b = 0, a when the quotient faults.
  long double modl(long double a, long double b) const;
  // The number text without trailing zeros and without a trailing separator.
  std::string EntferneNullenUndPunkte(const std::string& text) const;

  // The tree built last, and the decimal separator in use.
  const Tree& Root() const { return Root_->Root; }
  const std::string& LandDot() const { return LandDot_; }

  // Expressions beyond these bounds are rejected so that building can never exhaust the stack.
  static constexpr size_t kMaxExpressionLength = 10000;
  static constexpr int kMaxNesting = 256;

 private:
  std::optional<long double> EvalChecksAtEnd();
  bool EvalBatchChecksAtEnd(const VariableReading* xs, size_t count, long double* values,
                            bool* failed);
  void EvalEach(const VariableReading* xs, size_t count, long double* values, bool* failed);
  long double BatchLeaf(const Tree& node, char dot, char comma, size_t count, bool* failed);
  void RunBatchStep(NodeKind kind, long double* operand, const long double* left, size_t count,
                    bool* failed);
  inline long double Checked(long double value) const;
  int TakeFaultsUnlessDeferred() const;
  bool Faulted(long double value) const;
  long double EvalPower(long double l, long double r) const;
  long double EvalLeaf(const Tree& node);
  const std::vector<EvalStep>& Steps();
  long double Run();
  long double EvalX(const Tree& node);
  inline long double EvalOperator(NodeKind kind, long double l, long double r);
  long double ConvertNumber(const std::string& source) const;
  long double EvalFunction(NodeKind kind, long double v);
  const std::string& SubstituteName(const std::string& text, std::string& scratch) const;
  // The separators a value read under LandDot is remembered with (LeafMemo's Dot and Comma).
  char MemoDot() const { return LandDot_.size() == 1 ? LandDot_[0] : '.'; }
  char MemoComma() const { return ConvertAllColonsAndDots_ ? ',' : '.'; }

  std::shared_ptr<QelTreeRoot> Root_;
  PowerRule PowerRule_;
  std::string Expression_;
  int32_t Precision_ = 8;
  std::string X_, A_, B_, C_, D_;
  std::string OverwriteDecimalSymbol_;
  bool ConvertAllColonsAndDots_ = false;
  FaultChecks FaultChecks_ = FaultChecks::AtEnd;
  // Set during the pass that checks only at the end.
  bool ChecksDeferred_ = false;
  std::string ErgebnisString_;
  std::string LandDot_ = ".";
  LeafMemo VariableMemo_;
  std::vector<long double> Stack_;
  // Readings evaluated together: one stack row of kBatch values per step.
  static constexpr size_t kBatch = 64;
  std::vector<long double> BatchStack_;
  std::string VariableText_;
  // The memo holds the value of X's text as SetX was given it, whatever VariableText_ says.
  bool VariableMemoIsX_ = false;
  // Set while Evaluate runs, which has brought LandDot up to date for all its leaves.
  bool LandDotFresh_ = false;
};

// The value of a text as StrToLongDouble reads it, or fallback where the engine raises: how the
// renderer, the plotting component and the value table read a range or step they were given.
inline long double StrToLongDoubleOr(TQelParser& engine, const std::string& text,
                                     long double fallback) {
  try {
    return engine.StrToLongDouble(text);
  } catch (const EngineError&) {
    return fallback;
  }
}
