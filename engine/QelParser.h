#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

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

// The tree that CreateTree fills and Evaluate walks. The application's engines share one root;
// an engine that must not disturb them (the stand-alone plotting component) brings its own.
struct QelTreeRoot {
  Tree Root;
};

// How "^" treats a negative base with a fractional exponent and faults inside the power
// computation: reported as an error, or passed on as the library's result and fault.
enum class PowerRule { CheckNegativeBase, Plain };

class TQelParser {
 public:
  // Shares the application's tree root and checks negative bases.
  TQelParser();
  TQelParser(std::shared_ptr<QelTreeRoot> root, PowerRule powerRule);

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
  const std::string& ErgebnisString() const { return ErgebnisString_; }

  // Builds the tree of Expression (normalised first); false when the expression is invalid.
  bool CreateTree();
  long double Evaluate();
  // Evaluate without writing ErgebnisString, for loops that keep only their last result's text.
  long double EvaluateValue();
  // ErgebnisString as Evaluate leaves it after computing the value.
  void RecordResult(long double value) { ErgebnisString_ = LongDoubleToStr(value); }
  // Reads a text as the value of a variable leaf would be read.
  VariableReading ReadVariable(std::string text);
  // The same settings, variables and power rule over a tree root of its own, for evaluating
  // another expression beside this engine.
  TQelParser Sibling() const;
  long double StrToLongDouble(const std::string& text);
  std::string LongDoubleToStr(long double value);
  bool IsLongDouble(const std::string& text) const;

  void InitLandDot();
  std::string EntferneLeerzeichen(const std::string& text) const;
  std::string EntferneKlammern(const std::string& text) const;
  std::string WandleSinCosTanUm(const std::string& text) const;
  std::string Assiotiativitaet(const std::string& text) const;
  void SplitLowest(std::string& left, std::string& right, std::string& op,
                   const std::string& text) const;
  bool IsZahl(const std::string& text) const;
  bool MakeTree(Tree& node, const std::string& text) const;
  long double Eval(const Tree* node);
  long double modl(long double a, long double b) const;
  std::string EntferneNullenUndPunkte(const std::string& text) const;

  const Tree& Root() const { return Root_->Root; }
  const std::string& LandDot() const { return LandDot_; }

  // Expressions beyond these bounds are rejected so that building can never exhaust the stack.
  static constexpr size_t kMaxExpressionLength = 10000;
  static constexpr int kMaxNesting = 256;

 private:
  long double EvalPower(long double l, long double r) const;
  long double EvalLeaf(const Tree& node);
  long double ConvertNumber(const std::string& source) const;
  long double EvalFunction(const Tree* node);
  const std::string& SubstituteName(const std::string& text, std::string& scratch) const;

  std::shared_ptr<QelTreeRoot> Root_;
  PowerRule PowerRule_;
  std::string Expression_;
  int32_t Precision_ = 8;
  std::string X_, A_, B_, C_, D_;
  std::string OverwriteDecimalSymbol_;
  bool ConvertAllColonsAndDots_ = false;
  std::string ErgebnisString_;
  std::string LandDot_ = ".";
  LeafMemo VariableMemo_;
  std::string VariableText_;
  // The memo holds the value of X's text as SetX was given it, whatever VariableText_ says.
  bool VariableMemoIsX_ = false;
  // Set while Evaluate runs, which has brought LandDot up to date for all its leaves.
  bool LandDotFresh_ = false;
};
