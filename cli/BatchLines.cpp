#include "cli/BatchLines.h"

#include <utility>

namespace qelcli {

BatchLines::BatchLines(std::size_t maxLength, Sink sink)
    : maxLength_(maxLength), sink_(std::move(sink)) {}

void BatchLines::Take(std::string_view part) {
  open_ = true;
  if (tooLong_) return;
  if (part.size() > maxLength_ - line_.size()) {
    tooLong_ = true;
    std::string().swap(line_);
    return;
  }
  line_.append(part);
}

void BatchLines::Feed(std::string_view bytes) {
  for (;;) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) break;
    Take(bytes.substr(0, end));
    bytes.remove_prefix(end + 1);
    Finish();
  }
  if (!bytes.empty()) Take(bytes);
}

void BatchLines::Finish() {
  if (!open_) return;
  sink_(line_, tooLong_);
  line_.clear();
  tooLong_ = false;
  open_ = false;
}

}  // namespace qelcli
