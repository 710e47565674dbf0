#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The request by which a second start hands its files to the running instance: a magic line, then
// each absolute path as bytes followed by a NUL, then one more NUL.

inline constexpr std::size_t kMaxOpenRequestBytes = 1 << 20;
// More paths than this in one request are ignored: nobody opens that many windows at once.
inline constexpr std::size_t kMaxOpenRequestPaths = 256;
// Longer paths name no file (PATH_MAX); such a path is skipped, the others are kept.
inline constexpr std::size_t kMaxOpenRequestPathBytes = 4096;

std::string OpenRequestBytes(const std::vector<std::string>& paths);

// Decodes a request as its bytes arrive, looking at each byte once however it is split up.
class OpenRequestDecoder {
 public:
  // Complete once the closing NUL is in; a request that can no longer become valid is Malformed.
  enum class State { Incomplete, Complete, Malformed };

  State Feed(std::string_view bytes);
  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  State Take(char byte);
  State EndOfPath();

  State state_ = State::Incomplete;
  std::size_t received_ = 0;
  std::size_t pathLength_ = 0;  // bytes of the path being received, kept or not
  std::string path_;
  std::vector<std::string> paths_;
};
