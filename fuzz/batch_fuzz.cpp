// Batch input in pieces of any size: the lines handed on are the input's lines in order, whatever
// the piece boundaries, and a line over the bound arrives empty and marked, never kept.
#include <vector>

#include "cli/BatchLines.h"
#include "fuzz/FuzzInput.h"

namespace {

struct Line {
  std::string Text;
  bool TooLong;
  bool operator==(const Line&) const = default;
};

// The same split, done on the whole input at once.
std::vector<Line> Expected(std::string_view input, size_t maxLength) {
  std::vector<Line> lines;
  while (!input.empty()) {
    const size_t end = std::min(input.find('\n'), input.size());
    const std::string_view text = input.substr(0, end);
    const bool tooLong = text.size() > maxLength;
    lines.push_back({tooLong ? std::string() : std::string(text), tooLong});
    input.remove_prefix(std::min(end + 1, input.size()));
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const size_t maxLength = in.Byte();
  const size_t seed = in.Byte();
  const std::string input = in.Rest();

  std::vector<Line> lines;
  qelcli::BatchLines splitter(maxLength, [&](std::string_view text, bool tooLong) {
    if (text.size() > maxLength) FuzzFailure("a line over the bound was kept");
    lines.push_back({std::string(text), tooLong});
  });
  // Piece sizes from 1 to 16, varying along the input.
  size_t at = 0;
  for (size_t step = 0; at < input.size(); ++step) {
    const size_t piece = 1 + (seed + step * 7) % 16;
    splitter.Feed(std::string_view(input).substr(at, piece));
    at += piece;
  }
  splitter.Finish();
  splitter.Finish();
  if (lines != Expected(input, maxLength))
    FuzzFailure("the lines differ from the whole-input split");
  return 0;
}
