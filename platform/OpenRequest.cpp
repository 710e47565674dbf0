#include "platform/OpenRequest.h"

namespace {

constexpr std::string_view kMagic = "QELGRAPHICS-OPEN 1\n";

}  // namespace

std::string OpenRequestBytes(const std::vector<std::string>& paths) {
  std::string request(kMagic);
  for (const std::string& path : paths) request += path + '\0';
  return request + '\0';
}

OpenRequestDecoder::State OpenRequestDecoder::Feed(std::string_view bytes) {
  for (const char byte : bytes) {
    if (state_ != State::Incomplete) return state_ = State::Malformed;
    state_ = Take(byte);
  }
  return state_;
}

OpenRequestDecoder::State OpenRequestDecoder::Take(char byte) {
  if (++received_ > kMaxOpenRequestBytes) return State::Malformed;
  if (received_ <= kMagic.size())
    return byte == kMagic[received_ - 1] ? State::Incomplete : State::Malformed;
  if (byte == '\0') return EndOfPath();
  if (pathLength_++ == 0 && byte != '/') return State::Malformed;
  if (pathLength_ <= kMaxOpenRequestPathBytes) path_ += byte;
  return State::Incomplete;
}

OpenRequestDecoder::State OpenRequestDecoder::EndOfPath() {
  if (pathLength_ == 0) return State::Complete;
  if (pathLength_ <= kMaxOpenRequestPathBytes && paths_.size() < kMaxOpenRequestPaths)
    paths_.push_back(path_);
  path_.clear();
  pathLength_ = 0;
  return State::Incomplete;
}
