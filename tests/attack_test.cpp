// The rules of one time attack, on rows the test chooses.

#include <gtest/gtest.h>

#include <deque>
#include <tuple>
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
  std::vector<std::tuple<uint32_t, int, int, int, bool>> presses;
  for (const AnswerPress& p : attack.Record().presses)
    presses.emplace_back(p.ms_since_go, p.left, p.right, p.typed, p.correct);
  EXPECT_EQ(presses, (decltype(presses){{100, 7, 8, 4, false},
                                        {200, 7, 8, 5, true},
                                        {300, 8, 5, 9, false},
                                        {330, 8, 5, 9, false}}))
      << "the last typed again after a look without a digit";
  EXPECT_EQ(std::tie(attack.Record().wrong, attack.Record().score), std::tuple(3, 1));
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

}  // namespace
