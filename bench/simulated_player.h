#pragma once
// Time attacks of a simulated player who gets better with practice: about 25 correct answers
// in the first days and 45 at the end, sums with a carry and with 7, 8 or 9 slower than the
// rest, one press in twenty or so wrong, quick at the start, slower in the middle, quicker again
// at the end. For the benchmarks and the README's picture; never for the tests.

#include <algorithm>
#include <cmath>
#include <random>

#include "platform/local_time.h"
#include "scores/attack_record.h"

inline double SumDifficulty(int left, int right) {
  return 1 + 0.45 * (left + right >= 10) + 0.2 * (left >= 7) + 0.2 * (right >= 7) -
         0.35 * (left == 0 || right == 0);
}

inline double Pace(uint32_t ms) {
  if (ms < 10000) return 0.9;
  if (ms < 25000) return 1.0;
  if (ms < 45000) return 1.12;
  return 0.97;
}

// progress: 0 on the first day, 1 on the last.
inline AttackRecord SimulatedAttack(std::mt19937& random, const LocalDateTime& started,
                                    double progress) {
  AttackRecord record;
  record.started = started;
  record.utc_offset_minutes = static_cast<int>(UtcOffsetSeconds(LocalTimeNow()) / 60);
  std::normal_distribution<double> form(0, 0.08);
  std::lognormal_distribution<double> noise(0, 0.28);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_real_distribution<double> chance(0, 1);
  const double answers_a_minute = (25 + 20 * progress) * (1 + form(random));
  const double mean_ms = 60000 / answers_a_minute;
  // Play ends when the time shown reaches 00.0.
  constexpr uint32_t kEnd = kPlayMs - 50;
  double now = 0;
  for (;;) {
    const int left = digit(random), right = digit(random);
    const double took = mean_ms * SumDifficulty(left, right) * Pace(static_cast<uint32_t>(now)) *
                        noise(random) / 1.12;
    if (chance(random) < 0.04 * SumDifficulty(left, right)) {
      const double at = now + took * 0.6;
      if (at >= kEnd) break;
      const int sum = (left + right) % 10;
      record.presses.push_back(
          {static_cast<uint32_t>(at), left, right, (sum + 1 + digit(random) % 9) % 10, false});
    }
    now += took;
    if (now >= kEnd) break;
    record.presses.push_back({static_cast<uint32_t>(now), left, right, (left + right) % 10, true});
  }
  for (const AnswerPress& press : record.presses)
    ++(press.correct ? record.score : record.wrong);
  return record;
}
