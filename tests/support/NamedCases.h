#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace qeltest {

// Table-driven cases carry a `name`. It names each test, and gtest prints it in place of the case's
// raw bytes, which would put memory addresses into the test names CTest registers.
struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return info.param.name;
  }
};

template <typename Case>
requires requires(const Case& c) {
  c.name;
}
void PrintTo(const Case& c, std::ostream* os) {
  *os << c.name;
}

}  // namespace qeltest
