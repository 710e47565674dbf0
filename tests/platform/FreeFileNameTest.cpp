#include <gtest/gtest.h>

#include <set>

#include "platform/FreeFileName.h"

TEST(FreeFileNameTest, NumbersBeforeTheExtensionUntilANameIsFree) {
  const struct {
    const char* Path;
    std::set<std::string> Taken;
    const char* Expected;
  } cases[] = {
      {"/h/Qel Graphics.pdf", {}, "/h/Qel Graphics.pdf"},
      {"/h/Qel Graphics.pdf", {"/h/Qel Graphics.pdf"}, "/h/Qel Graphics (2).pdf"},
      {"/h/a.pdf", {"/h/a.pdf", "/h/a (2).pdf", "/h/a (3).pdf"}, "/h/a (4).pdf"},
      {"/h/a.b.pdf", {"/h/a.b.pdf"}, "/h/a.b (2).pdf"},
      {"/h.d/ausgabe", {"/h.d/ausgabe"}, "/h.d/ausgabe (2)"},
      {"/h/.pdf", {"/h/.pdf"}, "/h/.pdf (2)"},
      {"a.pdf", {"a.pdf"}, "a (2).pdf"},
  };
  for (const auto& c : cases) {
    const auto taken = [&](const std::string& name) { return c.Taken.count(name) > 0; };
    EXPECT_EQ(FreeFileName(c.Path, taken), c.Expected) << c.Path;
  }
}
