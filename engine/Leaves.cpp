// What a text is worth as a leaf: names substituted, numbers read under the separators, values
// remembered while the separators stay.
#include <string_view>

#include "engine/NumberText.h"
#include "engine/ParserInternals.h"
#include "engine/QelParser.h"
#include "platform/Conversions.h"
#include "platform/RegionalSettings.h"

namespace {

// A separator that cannot be mistaken for part of a number can be read in place.
bool IsPlainSeparator(char c) {
  return !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != 'e' && c != 'E' &&
         !(c == ' ' || (c >= '\t' && c <= '\r'));
}

// The text the C library would be given: both separators replaced by ".".
std::string ConversionText(std::string text, char dot, char comma) {
  for (char& c : text) {
    if (c == comma || c == dot) c = '.';
  }
  return text;
}

// Cheap rejection of texts the strict number grammar can never accept.
bool CouldBeNumber(const std::string& text, char separator) {
  if (text.empty()) return false;
  for (const char c : text) {
    const bool allowed =
        (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E' || c == separator;
    if (!allowed) return false;
  }
  return true;
}

bool NamesAValue(std::string_view text) {
  if (text.size() > 2) return false;
  for (const std::string_view name : {"a", "b", "c", "d", "pi", "e"}) {
    if (EqualsLower(text, name)) return true;
  }
  return false;
}

}  // namespace

bool TakenAsRead(const std::string& text, const LeafMemo& memo, char dot, char comma) {
  return MemoFits(memo, dot, comma) && !NamesAValue(text);
}

bool TQelParser::IsLongDouble(const std::string& text) const {
  if (!CouldBeNumber(text, RegionalDecimalSeparator())) return false;
  try {
    return FloatToStr(StrToFloat(text)) == text;
  } catch (const ConvertError&) {
    return false;
  }
}

VariableReading TQelParser::ReadVariable(std::string text) {
  InitLandDot();
  VariableReading reading{std::move(text), {}};
  try {
    reading.Memo.Value = ConvertNumber(reading.Text);
  } catch (const EngineError&) {
    return reading;
  }
  reading.Memo.Valid = true;
  reading.Memo.Dot = MemoDot();
  reading.Memo.Comma = MemoComma();
  return reading;
}

const std::string& TQelParser::SubstituteName(const std::string& text, std::string& scratch) const {
  if (text.size() > 2) return text;  // no name is longer
  const std::string* s = &text;
  if (EqualsLower(*s, "x")) s = &X_;
  if (EqualsLower(*s, "a")) s = &A_;
  if (EqualsLower(*s, "b")) s = &B_;
  if (EqualsLower(*s, "c")) s = &C_;
  if (EqualsLower(*s, "d")) s = &D_;
  if (EqualsLower(*s, "pi")) {
    scratch = "3" + LandDot_ + "1415927";
    s = &scratch;
  }
  if (EqualsLower(*s, "e")) {
    scratch = "2" + LandDot_ + "7182818";
    s = &scratch;
  }
  return *s;
}

long double TQelParser::StrToLongDouble(const std::string& text) {
  InitLandDot();
  std::string scratch;
  return ConvertNumber(SubstituteName(text, scratch));
}

// x at a reading given to SetX: the value read with its text.
long double TQelParser::EvalX(const Tree& node) {
  if (VariableMemoIsX_ && TakenAsRead(X_, VariableMemo_, MemoDot(), MemoComma())) {
    return VariableMemo_.Value;
  }
  return EvalLeaf(node);
}

// A leaf is read from its text at every evaluation; a number text, and a constant's text under a
// one-character separator, give the same value as long as the separators stay, so the node keeps
// that value. A variable's value is remembered with its text.
long double TQelParser::EvalLeaf(const Tree& node) {
  if (!LandDotFresh_) InitLandDot();
  const char dot = MemoDot(), comma = MemoComma();
  if (MemoFits(node.Memo, dot, comma)) return node.Memo.Value;
  std::string scratch;
  const std::string& source = SubstituteName(node.Text, scratch);
  const bool fixedText = &source == &node.Text;
  const bool constant = !fixedText && LandDot_.size() == 1 &&
                        (EqualsLower(node.Text, "pi") || EqualsLower(node.Text, "e"));
  if (fixedText || constant) {
    const long double value = ConvertNumber(source);
    node.Memo = {true, dot, comma, value};
    return value;
  }
  LeafMemo& memo = VariableMemo_;
  const bool sameText = VariableMemoIsX_ ? &source == &X_ : VariableText_ == source;
  if (memo.Valid && memo.Dot == dot && memo.Comma == comma && sameText) return memo.Value;
  const long double value = ConvertNumber(source);
  memo = {true, dot, comma, value};
  VariableText_ = source;
  VariableMemoIsX_ = false;
  return value;
}

long double TQelParser::ConvertNumber(const std::string& source) const {
  const char dot = MemoDot(), comma = MemoComma();
  const DecimalReading reading =
      IsPlainSeparator(dot) ? ReadLeadingDecimal(source, dot, comma)
                            : ReadLeadingDecimal(ConversionText(source, dot, comma), '.', '.');
  if (reading.Overflow) {
    TakeFaultsUnlessDeferred();
    throw EngineError(ConversionText(source, dot, comma) +
                      " kann nicht in eine Zahl umgewandelt werden! (STD)");
  }
  return reading.Value;
}
