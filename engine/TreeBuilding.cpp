// The tree of a normalised text, split recursively at its operator of the lowest precedence.
#include <string_view>

#include "engine/ParserInternals.h"
#include "engine/QelParser.h"

namespace {

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

}  // namespace

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
