#pragma once
// The history over calendar days, by the player's own clock: the best of each day played, the
// mean of the seven days up to it, the personal best as it rose, and the streaks of days played.

#include <cstdint>
#include <vector>

#include "scores/local_date_time.h"

struct ScoredMoment {
  LocalDateTime started;
  int score = 0;
  bool carried_over = false;  // a high score from before the history
};

struct DayOfPlay {
  int64_t day = 0;  // DayNumber
  int best = 0;
  int attacks = 0;
  double week_mean = 0;  // every score of this day and the six before it
};

struct HistoryTrend {
  std::vector<DayOfPlay> days;  // the days played, in order
  // Indexes of the time attacks that set a new personal best, beating all earlier ones.
  std::vector<size_t> personal_bests;
  int longest_streak = 0;  // most days played in a row
  // Days in a row up to today, or up to yesterday while today is still to be played.
  int current_streak = 0;
};

// moments in the order they were played.
HistoryTrend TrendOf(const std::vector<ScoredMoment>& moments, int64_t today);
