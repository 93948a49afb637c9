#pragma once
// Time attacks of a simulated player: sums with a carry and with 7, 8 or 9 slower than the rest,
// one press in twenty or so wrong, quick at the start, slower in the middle, quicker again at
// the end; over the days of a history, better with practice. For the benchmarks and the
// README's picture; never for the tests.

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "platform/local_time.h"
#include "platform/testing.h"
#include "scores/attack_record.h"
#include "scores/history_store.h"

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

// A minute of about answers_a_minute correct answers.
inline AttackRecord SimulatedAttack(std::mt19937& random, const LocalDateTime& started,
                                    double answers_a_minute) {
  AttackRecord record;
  record.started = started;
  record.utc_offset_minutes = static_cast<int>(UtcOffsetSeconds(LocalTimeNow()) / 60);
  std::normal_distribution<double> form(0, 0.08);
  std::lognormal_distribution<double> noise(0, 0.28);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_real_distribution<double> chance(0, 1);
  const double mean_ms = 60000 / (answers_a_minute * (1 + form(random)));
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
      AddPress(record, static_cast<uint32_t>(at), left, right, (sum + 1 + digit(random) % 9) % 10);
    }
    now += took;
    if (now >= kEnd) break;
    AddPress(record, static_cast<uint32_t>(now), left, right, (left + right) % 10);
  }
  return record;
}

// Records attacks time attacks spread over the days up to today, with days off now and then and
// today played, into the history beside a made-up executable in the folder: a player who gets
// better, or one of a steady pace. Returns how many presses were recorded.
inline int64_t FillHistory(const std::string& folder, int attacks, int days,
                           double steady_answers_a_minute = 0) {
  App::OverridePath(folder + "/noruka-keisan");
  std::mt19937 random(20241207);
  std::uniform_int_distribution<int> day_of(0, days - 1);
  std::vector<int> offsets;
  for (int i = 0; i < attacks; ++i)
    offsets.push_back(i == attacks - 1 ? days - 1 : day_of(random));
  std::sort(offsets.begin(), offsets.end());
  const int64_t today = DayNumber(LocalDateTimeOf(LocalTimeNow()));
  std::uniform_int_distribution<int> hour(7, 22), minute(0, 59);
  int64_t presses = 0;
  for (int i = 0; i < attacks; ++i) {
    LocalDateTime started = DateOfDay(today - (days - 1) + offsets[i]);
    started.hour = hour(random);
    started.minute = minute(random);
    started.second = minute(random);
    const double progress = days > 1 ? offsets[i] / static_cast<double>(days - 1) : 1;
    const AttackRecord record =
        SimulatedAttack(random, started,
                        steady_answers_a_minute > 0 ? steady_answers_a_minute : 25 + 20 * progress);
    if (!RecordTimeAttack(record)) std::exit(1);
    presses += static_cast<int64_t>(record.presses.size());
  }
  return presses;
}
