#include <gtest/gtest.h>

#include "ui/platform/PathText.h"

namespace {

TEST(PathTextTest, EveryByteSurvivesTheWayThroughAString) {
  const QByteArray cases[] = {
      "/tmp/plain.qgp",
      "/tmp/mit Leerzeichen.qgp",
      "/tmp/Übersicht ä.qgp",
      "/tmp/zeilen\numbruch.qgp",
      "/tmp/latin1-\xE4\xF6\xFC.qgp",
      "/tmp/\xFF\xFE\x80",
      "/tmp/overlong-\xC0\xAF",
      "/tmp/surrogate-\xED\xA0\x80",
      "/tmp/cut-\xE2\x82",
      "/tmp/emoji-\xF0\x9F\x98\x80",
      "/tmp/too-high-\xF4\x90\x80\x80",
  };
  for (const QByteArray& bytes : cases)
    EXPECT_EQ(PathToBytes(PathFromBytes(bytes)), bytes) << bytes.toHex().constData();
  EXPECT_EQ(PathFromBytes("/tmp/Übersicht ä.qgp"), QString("/tmp/Übersicht ä.qgp"));
}

}  // namespace
