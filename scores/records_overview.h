#pragma once
// What the window "成績の記録" and the command line show of the history, as of a given day:
// the last time attack's curve beside the best one's and the month's median, the history over
// the days, and the weak sums of the recent time attacks. Training figures, nothing more.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "scores/history_read.h"
#include "scores/history_trend.h"
#include "scores/weak_sums.h"
#include "scores/work_curve.h"

inline constexpr int kMonthDays = 30;  // the median curve's days, today included
// Of them, the median curve takes at most the most recent so many: enough for a median, and
// what is read stays small however much is played.
inline constexpr size_t kMonthMostAttacks = 300;
inline constexpr int kWeekDays = 7;
inline constexpr size_t kWeakSumsAttacks = 100;  // the most recent, for the weak sums

struct AttackCurve {
  LocalDateTime started;
  WorkCurve curve;
  CurveFigures figures;
};

struct RecordsOverview {
  int64_t today = 0;
  int attacks = 0;  // carried-over high scores included
  int carried_over = 0;
  std::optional<ScoredMoment> best;  // the highest score, the earliest of equal ones

  std::optional<AttackCurve> last;        // the last time attack recorded with its presses
  std::optional<AttackCurve> best_curve;  // the best of those
  int month_attacks = 0;  // recorded in the last kMonthDays days, at most kMonthMostAttacks
  std::array<double, kIntervals> month_median{};

  std::vector<ScoredMoment> moments;  // every time attack, in the order played
  HistoryTrend trend;
  int week_attacks = 0;  // in the last kWeekDays days
  int week_best = 0;
  double week_mean = 0;

  int weak_attacks = 0;
  WeakSums weak;
};

// The time attacks (in the order recorded) whose presses the overview needs.
std::vector<bool> PressesNeeded(const std::vector<StoredAttack>& attacks, int64_t today);
// From the time attacks with the presses PressesNeeded chose.
RecordsOverview OverviewOf(const std::vector<StoredAttack>& attacks, int64_t today);
// Today's overview from the history file; nothing when it cannot be read.
std::optional<RecordsOverview> ReadRecordsOverview();
