#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/OpenRequest.h"

namespace {

using State = OpenRequestDecoder::State;
using Paths = std::vector<std::string>;

// However the bytes are split, the result is the same: each piece is decoded once, as it comes.
TEST(OpenRequestDecoderTest, DecodesPieceByPieceSkippingOnlyBadPaths) {
  const std::string magic = OpenRequestBytes({}).substr(0, OpenRequestBytes({}).size() - 1);
  const std::string tooLong = "/" + std::string(kMaxOpenRequestPathBytes, 'x');
  Paths many;
  for (std::size_t i = 0; i <= kMaxOpenRequestPaths; ++i) many.push_back("/p" + std::to_string(i));
  const struct {
    std::string Bytes;
    State Expected;
    Paths Decoded;
  } cases[] = {
      {OpenRequestBytes({"/a b.qgp", "/\xFF\n.qgp"}), State::Complete, {"/a b.qgp", "/\xFF\n.qgp"}},
      {OpenRequestBytes({"/a", tooLong, "/b"}), State::Complete, {"/a", "/b"}},
      {OpenRequestBytes(many), State::Complete, Paths(many.begin(), many.end() - 1)},
      {OpenRequestBytes({"/a"}).substr(0, 5), State::Incomplete, {}},
      {magic + "/a" + '\0', State::Incomplete, {}},
      {"GET / HTTP/1.0\r\n", State::Malformed, {}},
      {OpenRequestBytes({"relativ.qgp"}), State::Malformed, {}},
      {OpenRequestBytes({"/a"}) + "mehr", State::Malformed, {}},
      {magic + '/' + std::string(kMaxOpenRequestBytes, 'a'), State::Malformed, {}},
  };
  for (const auto& c : cases) {
    for (const std::size_t piece : {c.Bytes.size(), std::size_t(1), std::size_t(7)}) {
      OpenRequestDecoder decoder;
      State state = State::Incomplete;
      for (std::size_t at = 0; at < c.Bytes.size(); at += piece)
        state = decoder.Feed(std::string_view(c.Bytes).substr(at, piece));
      EXPECT_EQ(state, c.Expected) << c.Bytes.substr(0, 30) << " in pieces of " << piece;
      EXPECT_EQ(state == State::Complete ? decoder.Paths() : Paths{}, c.Decoded);
    }
  }
}

}  // namespace
