#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qelcli {

// Splits input arriving in chunks into lines at line feeds, handing each line on as soon as it is
// complete; a last line without a line feed still counts. A line longer than maxLength is not kept:
// it is handed on empty with tooLong set, so memory stays bounded by maxLength whatever the input.
class BatchLines {
 public:
  using Sink = std::function<void(std::string_view line, bool tooLong)>;

  BatchLines(std::size_t maxLength, Sink sink);

  void Feed(std::string_view bytes);
  void Finish();

 private:
  void Take(std::string_view part);

  std::size_t maxLength_;
  Sink sink_;
  std::string line_;
  bool tooLong_ = false;
  bool open_ = false;  // bytes of an unfinished line have arrived
};

}  // namespace qelcli
