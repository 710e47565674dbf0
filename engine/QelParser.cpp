// The engine's tree root, variables and decimal separator.
#include "engine/QelParser.h"

#include "platform/RegionalSettings.h"

namespace {

std::shared_ptr<QelTreeRoot> ApplicationRoot() {
  static const auto root = std::make_shared<QelTreeRoot>();
  return root;
}

}  // namespace

TQelParser::TQelParser() : TQelParser(ApplicationRoot(), PowerRule::CheckNegativeBase) {}

TQelParser::TQelParser(std::shared_ptr<QelTreeRoot> root, PowerRule powerRule)
    : Root_(std::move(root)), PowerRule_(powerRule) {}

void TQelParser::InitLandDot() {
  if (!OverwriteDecimalSymbol_.empty()) {
    if (LandDot_ != OverwriteDecimalSymbol_) LandDot_ = OverwriteDecimalSymbol_;
    return;
  }
  const char regional = RegionalDecimalSeparator();
  if (LandDot_.size() != 1 || LandDot_[0] != regional) LandDot_.assign(1, regional);
}

void TQelParser::SetX(std::string value) {
  X_ = std::move(value);
  if (VariableMemoIsX_) VariableMemo_.Valid = false;
  VariableMemoIsX_ = false;
}

void TQelParser::SetX(const VariableReading& x) {
  X_ = x.Text;
  VariableMemo_ = x.Memo;
  VariableMemoIsX_ = x.Memo.Valid;
}

TQelParser TQelParser::Sibling() const {
  TQelParser sibling = *this;
  sibling.Root_ = std::make_shared<QelTreeRoot>();
  return sibling;
}
