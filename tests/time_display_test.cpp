#include <gtest/gtest.h>

#include "game/time_display.h"

namespace {

TEST(FormatTime, TwoIntegerDigitsOneDecimalHalvesAwayFromZero) {
  EXPECT_EQ(FormatTime(60), "60.0");
  EXPECT_EQ(FormatTime(9.46), "09.5");
  EXPECT_EQ(FormatTime(0.06), "00.1");
  EXPECT_EQ(FormatTime(0.04), "00.0");
  EXPECT_EQ(FormatTime(0.25), "00.3");
  EXPECT_EQ(FormatTime(-0.3), "-00.3");
  EXPECT_EQ(FormatTime(-0.25), "-00.3");
  EXPECT_EQ(FormatTime(123.4), "123.4");
}

TEST(FormatTime, ValueOfTheTextDecidesWhetherPlayGoesOn) {
  EXPECT_GT(TimeValue(FormatTime(0.06)), 0);
  EXPECT_EQ(TimeValue(FormatTime(0.04)), 0);
  EXPECT_LT(TimeValue(FormatTime(-0.2)), 0);
  EXPECT_FALSE(TimeValue(FormatTime(-0.01)) > 0);
  EXPECT_EQ(TimeValue("09.5"), 9.5);
}

}  // namespace
