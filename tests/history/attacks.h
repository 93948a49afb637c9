#pragma once
// Time attacks written out for the tests: each press as its time, the pair and the digit typed.

#include <cstdint>
#include <vector>

#include "scores/attack_record.h"

struct Typed {
  uint32_t ms;
  int left, right, typed;
};

// A record as the game fills it.
inline AttackRecord Attack(const LocalDateTime& started, const std::vector<Typed>& typed,
                           int utc_offset_minutes = 540) {
  AttackRecord record;
  record.started = started;
  record.utc_offset_minutes = utc_offset_minutes;
  for (const Typed& t : typed)
    AddPress(record, t.ms, t.left, t.right, t.typed);
  return record;
}

inline std::vector<AnswerPress> Presses(const std::vector<Typed>& typed) {
  return Attack({}, typed).presses;
}

// Correct answers evenly over the minute (one a second for 60, twelve in every five seconds for
// 144), the pairs walking through the digits.
inline AttackRecord SteadyAttack(const LocalDateTime& started, int answers = 60) {
  std::vector<Typed> typed;
  for (int i = 0; i < answers; ++i) {
    const int left = i % 10, right = (i * 7 + 3) % 10;
    typed.push_back({static_cast<uint32_t>(i * 60000 / answers), left, right, (left + right) % 10});
  }
  return Attack(started, typed);
}
