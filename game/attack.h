#pragma once
// One time attack: the row of digits, the pair the player works on, the correct answers, the
// minute of play and every digit typed during it. The windows show it; mod_Main runs it and
// keeps its record in the history.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/random_digits.h"
#include "scores/attack_record.h"

class Attack {
 public:
  static constexpr int kCells = 20;
  static constexpr double kTimeLimit = 60;  // seconds of play

  // Deals the row, cell 0 first.
  explicit Attack(DigitSource& digits);

  int Digit(int cell) const { return row_[cell]; }
  // The left cell of the current pair, 0 to 18.
  int PairPos() const { return pair_; }
  int CorrectCount() const { return correct_; }
  // The ones digit of the current pair's sum.
  int Expected() const { return (row_[pair_] + row_[pair_ + 1]) % 10; }

  // Play begins: the clock starts, and the record takes the player's date and time.
  void Start(uint32_t tick);
  // Seconds left at tick; the tick count may wrap during play.
  double Remaining(uint32_t tick) const;
  // The remaining time as the cursor shows it, "60.0" down to "00.0" or below.
  std::string TimeShown(uint32_t tick) const;
  // Play ends once the time shown is 0.0 or less: less than 0.05 s left.
  bool Over(uint32_t tick) const;
  // The first tick after tick at which the time shown changes.
  uint32_t NextTimeChange(uint32_t tick) const;

  // Judges what a pass of play read of the digit keys, -1 for none. A correct digit replaces
  // the pair's left digit and moves the pair on, back to cells 0 and 1 after the last pair,
  // where cell 19 gets a fresh digit. A wrong digit changes nothing; one held on, read pass
  // after pass, is one press.
  bool Take(int digit, uint32_t tick);

  // Every digit typed during play, and when, as the history keeps it.
  const AttackRecord& Record() const { return record_; }

 private:
  DigitSource& digits_;
  std::array<int, kCells> row_{};
  int pair_ = 0;
  int correct_ = 0;
  uint32_t start_ = 0;
  AttackRecord record_;
  // Wrong digits read since the last pass that read none.
  std::array<bool, 10> wrong_held_{};
};
