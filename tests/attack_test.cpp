// The rules of one time attack, on rows the test chooses.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "game/attack.h"

namespace {

// Deals the given digits, then 0s.
class Dealt final : public DigitSource {
 public:
  explicit Dealt(std::deque<int> digits) : digits_(std::move(digits)) {}
  int Next() override {
    if (digits_.empty()) return 0;
    int next = digits_.front();
    digits_.pop_front();
    return next;
  }

 private:
  std::deque<int> digits_;
};

std::vector<int> Row(const Attack& attack) {
  std::vector<int> row;
  for (int i = 0; i < Attack::kCells; ++i)
    row.push_back(attack.Digit(i));
  return row;
}

TEST(Attack, ACorrectDigitReplacesTheLeftOneAndMovesOnAWrongOneChangesNothing) {
  Dealt dealt({7, 8, 5});
  Attack attack(dealt);
  attack.Start(1000);
  EXPECT_EQ(attack.Expected(), 5) << "7 + 8 = 15";
  EXPECT_FALSE(attack.Take(4, 1100));
  EXPECT_EQ(attack.PairPos(), 0);
  EXPECT_TRUE(attack.Take(5, 1200));
  EXPECT_EQ(Row(attack)[0], 5);
  EXPECT_EQ(attack.PairPos(), 1);
  EXPECT_EQ(attack.Expected(), 3) << "8 + 5 = 13";
  EXPECT_EQ(attack.CorrectCount(), 1);

  // Every digit typed, as the player gave it, a held wrong one once.
  EXPECT_FALSE(attack.Take(9, 1300));
  EXPECT_FALSE(attack.Take(9, 1310));
  EXPECT_FALSE(attack.Take(-1, 1320));
  EXPECT_FALSE(attack.Take(9, 1330));
  const std::vector<AnswerPress>& presses = attack.Record().presses;
  ASSERT_EQ(presses.size(), 4u);
  EXPECT_EQ(presses[0].ms_since_go, 100u);
  EXPECT_FALSE(presses[0].correct);
  EXPECT_EQ(presses[1].ms_since_go, 200u);
  EXPECT_EQ(presses[1].left, 7);
  EXPECT_EQ(presses[1].right, 8);
  EXPECT_EQ(presses[1].typed, 5);
  EXPECT_TRUE(presses[1].correct);
  EXPECT_EQ(presses[2].ms_since_go, 300u);
  EXPECT_EQ(presses[3].ms_since_go, 330u) << "typed again after a look without a digit";
  EXPECT_EQ(attack.Record().wrong, 3);
  EXPECT_EQ(attack.Record().score, 1);
}

TEST(Attack, AfterTheLastPairTheCursorWrapsAndTheLastCellGetsAFreshDigit) {
  std::deque<int> digits(Attack::kCells, 9);
  digits.push_back(4);  // the fresh digit
  Dealt dealt(digits);
  Attack attack(dealt);
  EXPECT_EQ(attack.Expected(), 8) << "9 + 9";
  for (int pair = 0; pair < Attack::kCells - 1; ++pair)
    ASSERT_TRUE(attack.Take(attack.Expected(), 0)) << pair;
  EXPECT_EQ(attack.PairPos(), 0);
  std::vector<int> row = Row(attack);
  EXPECT_EQ(row[18], 8) << "9 + 9, the answer at the last pair";
  EXPECT_EQ(row[19], 4);
  EXPECT_EQ(attack.Expected(), (row[0] + row[1]) % 10) << "the answers of the last sweep";
}

// Play ends exactly when the time shown reads 0.0 or less, also across the wrap of the ticks.
TEST(Attack, PlayEndsWhenTheTimeShownReadsZero) {
  for (uint32_t start : {0u, UINT32_MAX - 30000}) {
    Dealt dealt({});
    Attack attack(dealt);
    attack.Start(start);
    EXPECT_EQ(attack.TimeShown(start), "60.0");
    EXPECT_EQ(attack.TimeShown(start + 59940), "00.1");
    for (uint32_t ms = 59000; ms < 61000; ++ms) {
      const std::string shown = attack.TimeShown(start + ms);
      ASSERT_EQ(attack.Over(start + ms), shown == "00.0" || shown[0] == '-') << ms << " ms";
    }
    EXPECT_FALSE(attack.Over(start + 59949));
    EXPECT_TRUE(attack.Over(start + 59951));
  }
}

}  // namespace
