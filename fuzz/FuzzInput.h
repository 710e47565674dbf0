#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// Reads a fuzz input front to back: option bytes first, then texts separated by line feeds. Past
// the end everything reads as 0 or empty, so every input is a valid case.
class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }

  int32_t Int32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<int32_t>(v);
  }

  // The text up to the next line feed (not included).
  std::string Line() {
    const size_t end = rest_.find('\n');
    std::string line(rest_.substr(0, end));
    rest_.remove_prefix(end == std::string_view::npos ? rest_.size() : end + 1);
    return line;
  }

  std::string Rest() {
    std::string all(rest_);
    rest_ = {};
    return all;
  }

  bool Empty() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

// A broken invariant: say which and stop, so the fuzzer keeps the input.
[[noreturn]] inline void FuzzFailure(const char* what) {
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}
