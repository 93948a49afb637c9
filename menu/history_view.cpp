// Every time attack over the calendar: each one a dot, the best of each day, the mean of the
// week up to each day, the personal best as it rose, and the streaks of days played.

#include <algorithm>
#include <cstdio>
#include <string>

#include "menu/chart.h"
#include "menu/records_layout.h"
#include "menu/records_views.h"
#include "scores/figure_text.h"

namespace {

using namespace records_layout;

constexpr int64_t kShortestSpan = 7;  // days, so that a first day is no wall-to-wall smear
constexpr int kMostDateLabels = 6;

// Calendar days across the chart, today at the right edge or past it.
class Calendar {
 public:
  Calendar(int64_t first, int64_t last)
      : first_(std::min(first, last - (kShortestSpan - 1))), span_(last - first_ + 1) {}
  float X(int64_t day, double fraction = 0.5) const {
    return kHistoryLeft + static_cast<float>((static_cast<double>(day - first_) + fraction) /
                                             static_cast<double>(span_)) *
                              (kHistoryRight - kHistoryLeft);
  }
  float X(const LocalDateTime& time) const {
    const double seconds = time.hour * 3600.0 + time.minute * 60.0 + time.second;
    return X(DayNumber(time), seconds / 86400);
  }
  int64_t First() const { return first_; }
  int64_t Span() const { return span_; }

 private:
  int64_t first_;
  int64_t span_;
};

std::string DateLabel(int64_t day, bool with_year) {
  const LocalDateTime date = DateOfDay(day);
  char text[32];
  if (with_year) {
    std::snprintf(text, sizeof text, "%04d/%02d/%02d", date.year, date.month, date.day);
  } else {
    std::snprintf(text, sizeof text, "%02d/%02d", date.month, date.day);
  }
  return text;
}

void DrawDates(Drawing& drawing, const Calendar& calendar) {
  const int64_t step =
      std::max<int64_t>(1, (calendar.Span() + kMostDateLabels - 1) / kMostDateLabels);
  for (int64_t day = calendar.First(); day < calendar.First() + calendar.Span(); day += step) {
    const float x = calendar.X(day);
    drawing.Rect(x, kHistoryBottom, 1, 4, chart::kQuiet);
    // The first, with its year, begins at its day; the others are centred on theirs.
    const bool first = day == calendar.First();
    drawing.Text(first ? x - 4 : x - 40, kHistoryBottom + 4, 80, 16, DateLabel(day, first),
                 chart::Font(), chart::kQuiet, first ? Alignment::Left : Alignment::Center);
  }
}

void DrawTrend(Drawing& drawing, const RecordsOverview& overview, const Calendar& calendar,
               const chart::Axis& axis) {
  std::vector<DrawnPoint> bests, means;
  for (const DayOfPlay& day : overview.trend.days) {
    bests.push_back({calendar.X(day.day), axis.At(day.best)});
    means.push_back({calendar.X(day.day), axis.At(day.week_mean)});
  }
  drawing.Line(std::move(means), 2, chart::kMedian, true);
  drawing.Line(std::move(bests), 2, chart::kBest);
  // The personal best, level until it is beaten.
  std::vector<DrawnPoint> rise;
  for (size_t index : overview.trend.personal_bests) {
    const ScoredMoment& moment = overview.moments[index];
    const float x = calendar.X(moment.started);
    if (!rise.empty()) rise.push_back({x, rise.back().y});
    rise.push_back({x, axis.At(moment.score)});
  }
  if (!rise.empty()) rise.push_back({kHistoryRight, rise.back().y});
  drawing.Line(std::move(rise), 2, chart::kPersonalBest);
}

void DrawSummary(Drawing& drawing, const RecordsOverview& overview) {
  const float y = kHistoryBottom + 46;
  std::string attacks = "タイムアタック " + std::to_string(overview.attacks) + " 回";
  if (overview.carried_over > 0)
    attacks += "（ハイスコアから引き継ぎ " + std::to_string(overview.carried_over) + " 回）";
  chart::Label(drawing, 16, y, attacks);
  chart::Label(drawing, 340, y,
               "ベスト " + std::to_string(overview.best->score) + " 回正解（" +
                   JapaneseDate(overview.best->started) + "）");
  std::string week = "直近7日 " + std::to_string(overview.week_attacks) + " 回";
  if (overview.week_attacks > 0) {
    week += "・平均 " + RatioText(overview.week_mean) + "・ベスト " +
            std::to_string(overview.week_best) + " 回正解";
  }
  chart::Label(drawing, 16, y + 22, week);
  chart::Label(drawing, 340, y + 22,
               "続けて遊んだ日　今 " + std::to_string(overview.trend.current_streak) +
                   " 日・最長 " + std::to_string(overview.trend.longest_streak) + " 日");
}

void DrawLegend(Drawing& drawing) {
  const float y = kContentTop + 10;
  float x = chart::LegendDot(drawing, kHistoryLeft, y, chart::kBar, "1回ごと");
  x = chart::LegendDot(drawing, x, y, chart::kCarried, "引き継ぎ");
  x = chart::LegendLine(drawing, x, y, chart::kBest, "その日のベスト");
  x = chart::LegendLine(drawing, x, y, chart::kMedian, "7日間の平均", true);
  chart::LegendLine(drawing, x, y, chart::kPersonalBest, "自己ベスト");
}

}  // namespace

void DrawHistoryView(Drawing& drawing, const RecordsOverview& overview) {
  if (overview.moments.empty()) {
    chart::Label(drawing, 24, kContentTop + 40,
                 "まだ記録がありません。遊んだ日ごとの成績がここに並びます。");
    return;
  }
  const Calendar calendar(DayNumber(overview.moments.front().started),
                          std::max(overview.today, DayNumber(overview.moments.back().started)));
  const chart::Axis axis(overview.best->score, kHistoryTop, kHistoryBottom);
  axis.Draw(drawing, kHistoryLeft, kHistoryRight);
  DrawDates(drawing, calendar);
  for (const ScoredMoment& moment : overview.moments) {
    drawing.Dot(calendar.X(moment.started), axis.At(moment.score), 2.5f,
                moment.carried_over ? chart::kCarried : chart::kBar);
  }
  DrawTrend(drawing, overview, calendar, axis);
  DrawLegend(drawing);
  DrawSummary(drawing, overview);
}
