// A hand-over request in pieces of any size: the decoder's verdict and paths are the same as for
// the whole input at once, and whatever it takes is a bounded list of absolute paths that encodes
// back to a request with the same paths.
#include "fuzz/FuzzInput.h"
#include "platform/OpenRequest.h"

namespace {

using State = OpenRequestDecoder::State;

void CheckTaken(const std::vector<std::string>& paths) {
  if (paths.size() > kMaxOpenRequestPaths) FuzzFailure("more paths than a request may hold");
  for (const std::string& path : paths) {
    if (!path.starts_with('/')) FuzzFailure("a path that is not absolute");
    if (path.size() > kMaxOpenRequestPathBytes) FuzzFailure("a path over the bound");
    if (path.find('\0') != std::string::npos) FuzzFailure("a path with a NUL");
  }
  OpenRequestDecoder again;
  if (again.Feed(OpenRequestBytes(paths)) != State::Complete || again.Paths() != paths)
    FuzzFailure("the paths do not survive encoding");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  const size_t seed = in.Byte();
  // Inputs usually start with the magic line, so that the fuzzer gets past it.
  const std::string input = (seed & 1 ? OpenRequestBytes({}).substr(0, 19) : "") + in.Rest();

  OpenRequestDecoder whole;
  const State expected = whole.Feed(input);
  OpenRequestDecoder pieces;
  State state = State::Incomplete;
  for (size_t at = 0, step = 0; at < input.size(); ++step) {
    const size_t piece = 1 + (seed + step * 7) % 16;
    state = pieces.Feed(std::string_view(input).substr(at, piece));
    at += piece;
  }
  if (state != expected) FuzzFailure("the verdict depends on how the bytes arrive");
  if (state == State::Complete) {
    if (pieces.Paths() != whole.Paths()) FuzzFailure("the paths depend on how the bytes arrive");
    CheckTaken(pieces.Paths());
  }
  return 0;
}
