#include "scores/history_trend.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kWeek = 7;

void CountStreaks(HistoryTrend& trend, int64_t today) {
  int run = 0;
  for (size_t i = 0; i < trend.days.size(); ++i) {
    const bool follows = i > 0 && trend.days[i].day == trend.days[i - 1].day + 1;
    run = follows ? run + 1 : 1;
    trend.longest_streak = std::max(trend.longest_streak, run);
  }
  if (!trend.days.empty() && trend.days.back().day >= today - 1) trend.current_streak = run;
}

}  // namespace

HistoryTrend TrendOf(const std::vector<ScoredMoment>& moments, int64_t today) {
  HistoryTrend trend;
  std::map<int64_t, std::vector<int>> by_day;
  int best = -1;
  for (size_t i = 0; i < moments.size(); ++i) {
    by_day[DayNumber(moments[i].started)].push_back(moments[i].score);
    if (moments[i].score > best) {
      best = moments[i].score;
      trend.personal_bests.push_back(i);
    }
  }
  for (const auto& [day, scores] : by_day) {
    DayOfPlay played{day, 0, static_cast<int>(scores.size()), 0};
    for (int score : scores)
      played.best = std::max(played.best, score);
    int64_t sum = 0, count = 0;
    for (auto it = by_day.lower_bound(day - (kWeek - 1)); it != by_day.end() && it->first <= day;
         ++it) {
      for (int score : it->second)
        sum += score;
      count += static_cast<int64_t>(it->second.size());
    }
    played.week_mean = static_cast<double>(sum) / static_cast<double>(count);
    trend.days.push_back(played);
  }
  CountStreaks(trend, today);
  return trend;
}
