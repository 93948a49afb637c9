#include <gtest/gtest.h>

#include <vector>

#include "game/time_display.h"

namespace {

TEST(FormatTime, TwoIntegerDigitsOneDecimalHalvesAwayFromZero) {
  EXPECT_EQ(FormatTime(9.46), "09.5");
  EXPECT_EQ(FormatTime(0.25), "00.3");
  EXPECT_EQ(FormatTime(-0.3), "-00.3");
  EXPECT_EQ(FormatTime(-0.25), "-00.3");
  EXPECT_EQ(FormatTime(123.4), "123.4");
  EXPECT_EQ(FormatTime(-0.01), "-00.0");
}

TEST(NextTimeChange, NamesTheFirstMillisecondThatShowsADifferentTime) {
  for (double limit : {60.0, 1.25}) {
    const auto end = static_cast<uint32_t>(limit * 1000) + 300;
    // Every change, found by looking at each millisecond in turn.
    std::vector<uint32_t> changes;
    for (uint32_t ms = 1; ms <= end + 100; ++ms) {
      if (FormatTime(limit - ms / 1000.0) != FormatTime(limit - (ms - 1) / 1000.0)) {
        changes.push_back(ms);
      }
    }
    size_t next = 0;
    for (uint32_t ms = 0; ms <= end; ++ms) {
      if (changes[next] <= ms) ++next;
      ASSERT_EQ(NextTimeChange(limit, ms), changes[next]) << limit << " s at " << ms << " ms";
    }
  }
}

}  // namespace
