#include "game/attack.h"

#include <cmath>

#include "game/time_display.h"

Attack::Attack(DigitSource& digits) : digits_(digits) {
  for (int& digit : row_)
    digit = digits_.Next();
}

void Attack::Start(uint32_t tick) {
  start_ = tick;
  record_ = AttackStartingNow();
}

double Attack::Remaining(uint32_t tick) const {
  // Unsigned difference: right across the wrap of the tick counter.
  const uint32_t elapsed = tick - start_;
  return kTimeLimit - elapsed / 1000.0;
}

std::string Attack::TimeShown(uint32_t tick) const {
  return FormatTime(Remaining(tick));
}

bool Attack::Over(uint32_t tick) const {
  // Rounded as the label rounds it, so that play ends exactly when it reads 0.0.
  return std::round(Remaining(tick) * 10) <= 0;
}

uint32_t Attack::NextTimeChange(uint32_t tick) const {
  return start_ + ::NextTimeChange(kTimeLimit, tick - start_);
}

bool Attack::Take(int digit, uint32_t tick) {
  if (digit < 0 || digit > 9) {
    wrong_held_.fill(false);
    return false;
  }
  const int left = row_[pair_];
  const int right = row_[pair_ + 1];
  const bool correct = digit == Expected();
  if (!correct) {
    if (wrong_held_[digit]) return false;
    wrong_held_[digit] = true;
  }
  AddPress(record_, tick - start_, left, right, digit);
  if (!correct) return false;

  ++correct_;
  row_[pair_] = digit;
  ++pair_;
  if (pair_ == kCells - 1) {
    row_[kCells - 1] = digits_.Next();
    pair_ = 0;
  }
  // The game waits for every digit key to come up before it reads the next answer.
  wrong_held_.fill(false);
  return true;
}
