#include "engine/ExpressionCheck.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/QelParser.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
constexpr size_t kFragment = 20;
constexpr char kEllipsis = '\x85';

enum class Kind { Number, BadNumber, Value, Function, Operator, Open, Close, UnknownName, Other };

struct Token {
  Kind Type;
  size_t Begin;
  size_t End;
  // What to write instead, for a bad number or an unknown name.
  std::string Hint;
};

// Where the analysis stops, as an index into the text without blanks.
struct Finding {
  size_t At;
  std::string Reason;
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}
bool IsLetter(char c) {
  return Lower(c) >= 'a' && Lower(c) <= 'z';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
std::string LowerText(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), Lower);
  return out;
}

// The names the engine knows, in the order it replaces them; "mod" is an operator.
constexpr std::string_view kFunctions[] = {"sin", "cos", "tan", "ln", "lg", "abs", "mod"};
constexpr std::string_view kKnownNames[] = {"x",   "a",   "b",   "c",  "d",  "e",   "pi",
                                            "sin", "cos", "tan", "ln", "lg", "abs", "mod"};

size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
      diagonal = above;
    }
  }
  return row[b.size()];
}

std::string NameHint(const std::string& lower, char separator) {
  if (lower == "sqrt" || lower == "wurzel" || lower == "root") {
    return std::string("x^0") + separator + "5 berechnet die Wurzel";
  }
  if (lower == "exp") return "e^x berechnet die Exponentialfunktion";
  if (lower == "log") return "lg ist der Zehnerlogarithmus, ln der nat\xFCrliche";
  std::string_view nearest;
  size_t best = kNone;
  for (const std::string_view name : kKnownNames) {
    const size_t distance = EditDistance(lower, name);
    if (distance < best) best = distance, nearest = name;
  }
  if (best <= 2 && best < lower.size()) return "gemeint ist wohl " + std::string(nearest);
  return "bekannt sind x, a, b, c, d, pi, e, sin, cos, tan, ln, lg, abs und mod";
}

std::string PowerOfTen(int64_t exponent) {
  if (exponent <= 6) return "1" + std::string(static_cast<size_t>(exponent), '0');
  return "10^" + std::to_string(exponent);
}

// Reads the text without blanks into tokens as the engine's normalisation sees it.
class Lexer {
 public:
  Lexer(const std::string& text, const TQelParser& engine) : text_(text), engine_(engine) {}

  std::vector<Token> Tokens() const {
    std::vector<Token> out;
    size_t at = 0;
    while (at < text_.size()) {
      const char c = text_[at];
      if (IsDigit(c) || IsSeparator(c)) {
        out.push_back(Number(at, NumberEnd(at)));
      } else if (IsLetter(c)) {
        Names(at, out);
        continue;
      } else {
        out.push_back({Single(c), at, at + 1, {}});
      }
      at = out.back().End;
    }
    return out;
  }

 private:
  static Kind Single(char c) {
    if (c == '(') return Kind::Open;
    if (c == ')') return Kind::Close;
    return std::string_view("+-*/^").find(c) != std::string_view::npos ? Kind::Operator
                                                                       : Kind::Other;
  }

  bool IsSeparator(char c) const {
    return c == '.' || c == ',' || c == RegionalDecimalSeparator() ||
           (engine_.LandDot().size() == 1 && c == engine_.LandDot()[0]);
  }

  size_t NumberEnd(size_t at) const {
    while (at < text_.size() && (IsDigit(text_[at]) || IsSeparator(text_[at]))) ++at;
    if (at >= text_.size() || Lower(text_[at]) != 'e') return at;
    size_t digits = at + 1;
    if (digits < text_.size() && (text_[digits] == '+' || text_[digits] == '-')) ++digits;
    if (digits >= text_.size() || !IsDigit(text_[digits])) return at;
    while (digits < text_.size() && IsDigit(text_[digits])) ++digits;
    return digits;
  }

  // The number as the engine's leaf test is given it.
  std::string Mapped(std::string_view raw) const {
    std::string out;
    for (const char c : raw) {
      if (engine_.ConvertAllColonsAndDots() && (c == '.' || c == ',')) {
        out += engine_.LandDot();
      } else {
        out += c;
      }
    }
    return out;
  }

  Token Number(size_t begin, size_t end) const {
    const std::string raw = text_.substr(begin, end - begin);
    const bool signedExponent = raw.find_first_of("+-") != std::string::npos;
    if (!signedExponent && engine_.IsZahl(Mapped(raw))) return {Kind::Number, begin, end, {}};
    return {Kind::BadNumber, begin, end, Canonical(raw)};
  }

  // The number in the form the engine reads, in the separator typed; empty for no number.
  std::string Canonical(const std::string& raw) const {
    const size_t e = raw.find_first_of("eE");
    const std::string mantissa = raw.substr(0, e);
    std::string written;
    try {
      written = FloatToStr(StrToFloat(Mapped(mantissa)));
      if (e != std::string::npos) {
        const int64_t exponent = std::min<int64_t>(StrToInt(raw.substr(e + 1)), 99999);
        if (exponent < 0) {
          written += "/" + PowerOfTen(-exponent);
        } else {
          written = FloatToStr(StrToFloat(Mapped(raw)));
        }
      }
    } catch (const ConvertError&) {
      return {};
    }
    const size_t typed = raw.find_first_of(".,");
    if (engine_.ConvertAllColonsAndDots() && typed != std::string::npos) {
      std::replace(written.begin(), written.end(), RegionalDecimalSeparator(), raw[typed]);
    }
    return written;
  }

  // A run of letters: function names, pi and single-letter values, or one unknown name.
  void Names(size_t& at, std::vector<Token>& out) const {
    size_t end = at;
    while (end < text_.size() && IsLetter(text_[end])) ++end;
    const std::string lower = LowerText(std::string_view(text_).substr(at, end - at));
    std::vector<Token> names;
    for (size_t i = 0; i < lower.size();) {
      const size_t length = KnownLength(std::string_view(lower).substr(i));
      if (length == 0) {
        const char separator = engine_.ConvertAllColonsAndDots() ? '.' : RegionalDecimalSeparator();
        out.push_back({Kind::UnknownName, at, end, NameHint(lower, separator)});
        at = end;
        return;
      }
      const Kind kind = length == 1 || lower.compare(i, 2, "pi") == 0 ? Kind::Value
                        : lower.compare(i, 3, "mod") == 0             ? Kind::Operator
                                                                      : Kind::Function;
      names.push_back({kind, at + i, at + i + length, {}});
      i += length;
    }
    out.insert(out.end(), names.begin(), names.end());
    at = end;
  }

  static size_t KnownLength(std::string_view rest) {
    for (const std::string_view name : kFunctions) {
      if (rest.starts_with(name)) return name.size();
    }
    if (rest.starts_with("pi")) return 2;
    return std::string_view("xabcde").find(rest.front()) != std::string_view::npos ? 1 : 0;
  }

  const std::string& text_;
  const TQelParser& engine_;
};

bool StartsOperand(Kind kind) {
  return kind == Kind::Number || kind == Kind::Value || kind == Kind::Function ||
         kind == Kind::Open;
}

// Reads the tokens as the grammar the engine builds: an optional "-" at the start of the text or
// of a bracket, then operands joined by operators; a function takes the operand after it; a bracket
// pair may not enclose nothing but another pair.
class Reader {
 public:
  Reader(const std::string& text, std::vector<Token> tokens)
      : text_(text), tokens_(std::move(tokens)) {}

  std::optional<Finding> Run() {
    for (size_t i = 0; i < tokens_.size(); ++i) {
      if (std::optional<Finding> found = Problem(i)) return found;
      std::optional<Finding> found = expectOperand_ ? AtOperand(i) : AfterOperand(i);
      if (found) return found;
    }
    return AtEnd();
  }

 private:
  std::string Text(size_t i) const {
    return text_.substr(tokens_[i].Begin, tokens_[i].End - tokens_[i].Begin);
  }

  // The tokens first..last as typed (without blanks), shortened towards `first` or `last`.
  std::string Span(size_t first, size_t last, bool keepEnd) const {
    const size_t begin = tokens_[first].Begin;
    const std::string all = text_.substr(begin, tokens_[last].End - begin);
    if (all.size() <= kFragment) return all;
    return keepEnd ? kEllipsis + all.substr(all.size() - kFragment)
                   : all.substr(0, kFragment) + kEllipsis;
  }

  // The last token of the operand that starts at i.
  size_t OperandEnd(size_t i) const {
    if (tokens_[i].Type == Kind::Function && i + 1 < tokens_.size() &&
        StartsOperand(tokens_[i + 1].Type)) {
      return OperandEnd(i + 1);
    }
    if (tokens_[i].Type != Kind::Open) return i;
    int depth = 0;
    for (size_t j = i; j < tokens_.size(); ++j) {
      depth += tokens_[j].Type == Kind::Open ? 1 : tokens_[j].Type == Kind::Close ? -1 : 0;
      if (depth == 0) return j;
    }
    return tokens_.size() - 1;
  }

  std::string Following(size_t i) const { return Span(i, OperandEnd(i), false); }

  std::optional<Finding> Problem(size_t i) const {
    const Token& token = tokens_[i];
    if (token.Type == Kind::BadNumber) {
      if (token.Hint.empty()) return Finding{token.Begin, Text(i) + " ist keine Zahl"};
      return Finding{token.Begin, "schreiben Sie " + token.Hint + " statt " + Text(i)};
    }
    if (token.Type == Kind::UnknownName) {
      return Finding{token.Begin, Text(i) + " ist unbekannt; " + token.Hint};
    }
    if (token.Type == Kind::Other) {
      return Finding{token.Begin, "das Zeichen " + Text(i) + " ist nicht erlaubt"};
    }
    return std::nullopt;
  }

  bool AtGroupStart(size_t i) const { return i == 0 || tokens_[i - 1].Type == Kind::Open; }

  std::optional<Finding> AtOperand(size_t i) {
    const Kind kind = tokens_[i].Type;
    if (operandStart_ == kNone) operandStart_ = i;
    if (kind == Kind::Number || kind == Kind::Value) {
      expectOperand_ = false;
    } else if (kind == Kind::Open) {
      groups_.push_back({i, operandStart_});
      operandStart_ = leftStart_ = kNone;
    } else if (kind == Kind::Operator) {
      return OperatorWithoutLeft(i);
    } else if (kind == Kind::Close) {
      if (groups_.empty()) return Unopened(i);
      if (tokens_[i - 1].Type == Kind::Open)
        return Finding{tokens_[i - 1].Begin, "leere Klammern ()"};
      return Missing(i - 1);
    }
    return std::nullopt;
  }

  Finding Unopened(size_t i) const {
    return {tokens_[i].Begin,
            "zu dieser Klammer fehlt die \xF6"
            "ffnende"};
  }

  Finding Missing(size_t after) const {
    return {tokens_[after].Begin, "nach " + Text(after) + " fehlt ein Wert"};
  }

  std::optional<Finding> OperatorWithoutLeft(size_t i) {
    const std::string op = Text(i);
    if (op == "-" && AtGroupStart(i)) return std::nullopt;
    if (op != "-" && op != "+") {
      if (AtGroupStart(i)) return Finding{tokens_[i].Begin, "vor " + op + " fehlt ein Wert"};
      return Finding{tokens_[i].Begin,
                     "zwischen " + Text(i - 1) + " und " + op + " fehlt ein Wert"};
    }
    if (i + 1 >= tokens_.size() || !StartsOperand(tokens_[i + 1].Type)) return Missing(i);
    const std::string right = Following(i + 1);
    if (AtGroupStart(i)) return Finding{tokens_[i].Begin, op + right + ": schreiben Sie " + right};
    const bool sign = tokens_[i - 1].Type == Kind::Function || leftStart_ == kNone;
    const size_t from = sign ? operandStart_ : leftStart_;
    const std::string left = Span(from, i - 1, true);
    const std::string fixed = op == "-" ? "(-" + right + ")" : right;
    return Finding{tokens_[i].Begin, left + op + right + ": schreiben Sie " + left + fixed};
  }

  std::optional<Finding> AfterOperand(size_t i) {
    const Kind kind = tokens_[i].Type;
    if (kind == Kind::Operator) {
      leftStart_ = operandStart_;
      operandStart_ = kNone;
      expectOperand_ = true;
      return std::nullopt;
    }
    if (kind != Kind::Close) {
      const std::string left = Span(operandStart_, i - 1, true);
      const std::string right = Following(i);
      return Finding{tokens_[i].Begin, "zwischen " + left + " und " + right +
                                           " fehlt ein Operator, z. B. " + left + "*" + right};
    }
    if (groups_.empty()) return Unopened(i);
    const Group group = groups_.back();
    groups_.pop_back();
    if (tokens_[i - 1].Type == Kind::Close && lastClosed_ == group.Open + 1) {
      return Finding{tokens_[group.Open].Begin, "doppelte Klammern; ein Klammerpaar gen\xFCgt"};
    }
    lastClosed_ = group.Open;
    operandStart_ = group.OperandStart;
    return std::nullopt;
  }

  std::optional<Finding> AtEnd() const {
    if (tokens_.empty()) return Finding{0, "die Funktion ist leer"};
    if (expectOperand_ && tokens_.back().Type != Kind::Open) return Missing(tokens_.size() - 1);
    if (!groups_.empty()) {
      return Finding{tokens_[groups_.back().Open].Begin, "diese Klammer wird nicht geschlossen"};
    }
    return std::nullopt;
  }

  struct Group {
    size_t Open;
    size_t OperandStart;
  };

  const std::string& text_;
  std::vector<Token> tokens_;
  bool expectOperand_ = true;
  std::vector<Group> groups_;
  // The first token of the operand being read (with the functions and sign before it) and of the
  // one left of the last operator.
  size_t operandStart_ = kNone;
  size_t leftStart_ = kNone;
  size_t lastClosed_ = kNone;
};

std::optional<ExpressionVerdict> OutOfBounds(const std::string& text) {
  if (text.size() > TQelParser::kMaxExpressionLength) {
    return ExpressionVerdict{false, TQelParser::kMaxExpressionLength + 1,
                             "die Funktion ist l\xE4nger als " +
                                 std::to_string(TQelParser::kMaxExpressionLength) + " Zeichen"};
  }
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(' && ++depth > TQelParser::kMaxNesting) {
      return ExpressionVerdict{
          false, i + 1,
          "mehr als " + std::to_string(TQelParser::kMaxNesting) + " Klammern ineinander"};
    }
    if (text[i] == ')') --depth;
  }
  return std::nullopt;
}

}  // namespace

ExpressionVerdict ExplainExpression(const std::string& text, const TQelParser& settings) {
  if (std::optional<ExpressionVerdict> bounds = OutOfBounds(text)) return *bounds;
  std::string compact;
  std::vector<size_t> origin;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == ' ') continue;
    compact += text[i];
    origin.push_back(i);
  }
  TQelParser engine = settings.Sibling();
  engine.InitLandDot();
  Reader reader(compact, Lexer(compact, engine).Tokens());
  const std::optional<Finding> found = reader.Run();
  if (!found) return {true, 0, {}};
  const size_t position = found->At < origin.size() ? origin[found->At] + 1 : text.size() + 1;
  return {false, position, found->Reason};
}

ExpressionVerdict CheckExpression(const std::string& text, const TQelParser& settings) {
  TQelParser engine = settings.Sibling();
  engine.SetExpression(text);
  if (engine.CreateTree()) return {true, 0, {}};
  ExpressionVerdict verdict = ExplainExpression(text, settings);
  if (verdict.Builds) return {false, 1, "die Funktion ist so nicht lesbar"};
  return verdict;
}

std::string VerdictText(const ExpressionVerdict& verdict) {
  if (verdict.Builds) return {};
  return "Zeichen " + std::to_string(verdict.Position) + ": " + verdict.Reason;
}
