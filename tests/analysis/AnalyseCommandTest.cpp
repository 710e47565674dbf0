#include <gtest/gtest.h>
TEST(AnalyseCommand, Placeholder) {}
