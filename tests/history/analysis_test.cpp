#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/local_time.h"
#include "scores/history_trend.h"
#include "scores/records_overview.h"
#include "scores/weak_sums.h"
#include "scores/work_curve.h"
#include "tests/history/attacks.h"

namespace {

// The edges of the intervals: 4999 ms is the first, 5000 the second, and the end of play, 60000,
// counts in the last. Wrong presses are counted apart and break no answer time.
TEST(WorkCurve, CountsEachPressInItsFiveSecondsAndFiguresCompareTheIntervals) {
  const auto presses = Presses({{0, 1, 2, 3},
                                {4999, 2, 2, 5},  // wrong
                                {4999, 2, 2, 4},
                                {5000, 3, 9, 2},
                                {30000, 9, 9, 9},  // wrong
                                {59999, 9, 9, 8},
                                {60000, 5, 5, 0}});
  const WorkCurve curve = CurveOf(presses);
  EXPECT_EQ(curve.correct, (IntervalCounts{2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2}));
  EXPECT_EQ(curve.wrong, (IntervalCounts{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0}));

  const CurveFigures figures = FiguresOf(presses);
  EXPECT_EQ(std::tie(figures.score, figures.wrong), std::tuple(5, 2));
  EXPECT_DOUBLE_EQ(*figures.accuracy, 5.0 / 7);
  // Answer times 0, 4999, 1, 54999, 1.
  EXPECT_DOUBLE_EQ(*figures.median_answer_ms, 1);
  // The mean interval is 5 / 12.
  EXPECT_DOUBLE_EQ(*figures.initial_effort, 2 / (5.0 / 12));
  EXPECT_DOUBLE_EQ(*figures.fluctuation, (2 - 0) / (5.0 / 12));
  EXPECT_DOUBLE_EQ(*figures.second_half, 2.0 / 3);

  const CurveFigures nothing = FiguresOf(Presses({{1000, 1, 1, 3}}));
  EXPECT_DOUBLE_EQ(*nothing.accuracy, 0);
  EXPECT_FALSE(nothing.median_answer_ms || nothing.initial_effort || nothing.fluctuation ||
               nothing.second_half)
      << "no figure divides by a mean of 0";
  EXPECT_FALSE(FiguresOf(Presses({{40000, 1, 1, 2}})).second_half) << "an empty first half";
}

TEST(WorkCurve, TheMedianCurveTakesEachIntervalApart) {
  auto curve = [](int first, int last) {
    WorkCurve c;
    c.correct.front() = first;
    c.correct.back() = last;
    return c;
  };
  const auto median = MedianCurve({curve(1, 9), curve(5, 2), curve(3, 4)});
  EXPECT_EQ(std::pair(median.front(), median.back()), std::pair(3.0, 4.0));
  EXPECT_EQ(MedianCurve({}).front(), 0);
}

// Two time attacks. 7+8: answered in 1000, 3000 and 400 ms; 8+3: one wrong press, then 1500 ms;
// 3+5: 200, 100 and 600 ms; 0+0 answered twice, at 9000 and 9000 ms: too few to rank.
TEST(WeakSums, EachPairHasItsMedianTimeAndErrorRateAndTheSlowestRankFirst) {
  const auto first = Presses({{1000, 7, 8, 5},
                              {1500, 8, 3, 2},
                              {2500, 8, 3, 1},
                              {2700, 3, 5, 8},
                              {2800, 3, 5, 8},
                              {11800, 0, 0, 0},
                              {20800, 0, 0, 0}});
  const auto second = Presses({{3000, 7, 8, 5}, {3400, 7, 8, 5}, {4000, 3, 5, 8}});
  const WeakSums sums = WeakSumsOf({&first, &second});
  // Answers, wrong presses, median time, error rate.
  auto figures = [](const SumFigures& f) {
    return std::tuple(f.answers, f.wrong, f.median_ms, f.error_rate);
  };
  EXPECT_EQ(figures(sums.pairs[7][8]), std::tuple(3, 0, 1000.0, 0.0));
  EXPECT_EQ(figures(sums.pairs[8][3]), std::tuple(1, 1, 1500.0, 0.5));
  EXPECT_EQ(figures(sums.pairs[3][5]), std::tuple(3, 0, 200.0, 0.0));
  EXPECT_EQ(figures(sums.pairs[5][3]), std::tuple(0, 0, std::nullopt, std::nullopt))
      << "left and right are not the same pair";
  // With a carry: 7+8 and 8+3, times 1000, 3000, 400, 1500 and one wrong press of five; without:
  // 3+5 and 0+0, times 200, 100, 600, 9000, 9000.
  EXPECT_EQ(figures(sums.with_carry), std::tuple(4, 1, 1250.0, 0.2));
  EXPECT_EQ(figures(sums.without_carry), std::tuple(5, 0, 600.0, 0.0));

  EXPECT_EQ(sums.slowest, (std::vector<std::pair<int, int>>{{7, 8}, {3, 5}}));
}

TEST(WeakSums, OnlyTheFiveSlowestRankAndEqualTimesGoByErrorRate) {
  // Eight pairs, three answers each, left + 1 taking (left + 1) × 100 ms; 3+1 takes as long as
  // 2+1, with a wrong press.
  std::vector<Typed> typed;
  uint32_t ms = 0;
  for (int left = 0; left < 8; ++left) {
    if (left == 3) typed.push_back({ms, left, 1, 0});
    for (int answer = 0; answer < 3; ++answer)
      typed.push_back({ms += 100 * (left == 3 ? 3 : left + 1), left, 1, (left + 1) % 10});
  }
  const auto presses = Presses(typed);
  EXPECT_EQ(WeakSumsOf({&presses}).slowest,
            (std::vector<std::pair<int, int>>{{7, 1}, {6, 1}, {5, 1}, {4, 1}, {3, 1}}));
}

// A UTC moment on the player's clock, as the game takes it when a time attack starts.
ScoredMoment At(int year, int month, int day, int hour, int minute, int score) {
  std::tm utc{};
  utc.tm_year = year - 1900;
  utc.tm_mon = month - 1;
  utc.tm_mday = day;
  utc.tm_hour = hour;
  utc.tm_min = minute;
  return {LocalDateTimeOf(LocalTimeAt(timegm(&utc))), score};
}

// A day is the player's calendar day: a UTC day or a 24-hour step gives other days where the
// clocks change, and another streak. In Berlin 2024-03-31 02:00 CET became 03:00 CEST.
class Days : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
  }
  void TearDown() override {
    saved_ ? setenv("TZ", saved_->c_str(), 1) : unsetenv("TZ");
    tzset();
  }
  std::optional<std::string> saved_ =
      std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

TEST_F(Days, ArePlayersLocalDaysAcrossMidnightAndTheStartOfSummerTime) {
  const std::vector<ScoredMoment> moments = {
      At(2024, 3, 22, 22, 59, 5),   // 23:59 on the 22nd
      At(2024, 3, 22, 23, 0, 4),    // 00:00 on the 23rd
      At(2024, 3, 29, 22, 30, 10),  // 23:30 on the 29th
      At(2024, 3, 30, 23, 30, 20),  // 00:30 on the 31st, still winter time
      At(2024, 3, 31, 1, 30, 20),   // 03:30 on the 31st, summer time: equals the best
      At(2024, 3, 31, 22, 30, 40),  // 00:30 on 1 April
  };
  EXPECT_EQ(moments[4].started, (LocalDateTime{2024, 3, 31, 3, 30, 0}));
  EXPECT_EQ(UtcOffsetSeconds(LocalTimeAt(1711848600)), 7200) << "03:30 CEST";

  const HistoryTrend trend = TrendOf(moments, DayNumber(2024, 4, 1));
  std::vector<std::tuple<LocalDateTime, int, int, double>> days;
  for (const DayOfPlay& day : trend.days)
    days.emplace_back(DateOfDay(day.day), day.best, day.attacks, day.week_mean);
  EXPECT_EQ(days, (std::vector<std::tuple<LocalDateTime, int, int, double>>{
                      {{2024, 3, 22}, 5, 1, 5.0},
                      {{2024, 3, 23}, 4, 1, 4.5},
                      {{2024, 3, 29}, 10, 1, 7.0},  // the 23rd to the 29th
                      {{2024, 3, 31}, 20, 2, 50.0 / 3},
                      {{2024, 4, 1}, 40, 1, 22.5},  // 26 March to 1 April
                  }));
  EXPECT_EQ(trend.personal_bests, (std::vector<size_t>{0, 2, 3, 5}));
  EXPECT_EQ(trend.longest_streak, 2);
  EXPECT_EQ(trend.current_streak, 2);
  EXPECT_EQ(TrendOf(moments, DayNumber(2024, 4, 2)).current_streak, 2) << "today not played yet";
  EXPECT_EQ(TrendOf(moments, DayNumber(2024, 4, 3)).current_streak, 0);
}

// Today is 2024-06-30; each time attack scores as many as it has presses, all correct.
class Overview : public testing::Test {
 protected:
  static constexpr int64_t kToday = 19904;  // 2024-06-30
  void Add(int days_ago, int score, bool carried = false) {
    StoredAttack attack;
    attack.id = static_cast<int64_t>(attacks_.size()) + 1;
    attack.started = DateOfDay(kToday - days_ago);
    attack.score = score;
    attack.carried_over = carried;
    for (int i = 0; !carried && i < score; ++i)
      attack.presses.push_back({static_cast<uint32_t>(i * 100), 1, 1, 2, true});
    attacks_.push_back(attack);
  }
  std::vector<size_t> Needed() const {
    const std::vector<bool> marks = PressesNeeded(attacks_, kToday);
    std::vector<size_t> needed;
    for (size_t i = 0; i < marks.size(); ++i)
      if (marks[i]) needed.push_back(i);
    return needed;
  }
  std::vector<StoredAttack> attacks_;
};

TEST_F(Overview, TheBestLastMonthAndWeekAreTheRecordedTimeAttacksOfTheirDays) {
  Add(400, 99, true);  // a high score from before: the best, without a curve
  Add(200, 50);        // the best curve: the earlier of two equal
  Add(150, 50);
  Add(30, 7);  // a day too old for the month
  Add(29, 9);  // the month's first day
  Add(7, 11);  // a day too old for the week
  Add(6, 13);
  Add(0, 17);  // the last
  EXPECT_EQ(kToday, DayNumber(2024, 6, 30)) << "days since 1970-01-01";
  EXPECT_EQ(Needed(), (std::vector<size_t>{1, 2, 3, 4, 5, 6, 7})) << "the weak sums' hundred";

  const RecordsOverview overview = OverviewOf(attacks_, kToday);
  EXPECT_EQ(overview.best_curve->started, DateOfDay(kToday - 200));
  EXPECT_EQ(overview.last->figures.score, 17);
  EXPECT_EQ(overview.month_attacks, 4);
  EXPECT_EQ(overview.month_median[0], (11 + 13) / 2.0) << "counts 9, 11, 13, 17 in the first 5 s";
  EXPECT_EQ(std::tie(overview.week_attacks, overview.week_best), std::tuple(2, 17));
  EXPECT_DOUBLE_EQ(overview.week_mean, 15);
  EXPECT_EQ(overview.weak_attacks, 7);
  EXPECT_EQ(overview.weak.pairs[1][1].answers, 50 + 50 + 7 + 9 + 11 + 13 + 17);
}

// However much is played, what is read stays bounded: the last hundred, the month's most recent
// three hundred, and the best.
TEST_F(Overview, ReadsThePressesOfABoundedNumberOfTimeAttacks) {
  Add(500, 60);
  for (int i = 0; i < 1000; ++i)
    Add(i < 600 ? 40 : 0, 20);
  const std::vector<size_t> needed = Needed();
  EXPECT_EQ(needed.size(), 1u + kMonthMostAttacks);
  EXPECT_EQ(needed.front(), 0u) << "the best";
  EXPECT_EQ(needed[1], 1001u - kMonthMostAttacks) << "the month's most recent";
  EXPECT_EQ(OverviewOf(attacks_, kToday).month_attacks, static_cast<int>(kMonthMostAttacks));
}

TEST(Dates, DayNumbersCountAcrossMonthsLeapYearsAndCenturies) {
  EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2) << "2000 was a leap year";
  EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 1) << "2100 is not";
  EXPECT_EQ(DayNumber(2025, 1, 1) - DayNumber(2024, 12, 31), 1);
  for (int64_t day : {-1L, 0L, 19723L, 2932896L})
    EXPECT_EQ(DayNumber(DateOfDay(day)), day);
  EXPECT_FALSE(ReadIsoText("2024-02-30 09:03:07"));
  EXPECT_EQ(ReadIsoText("2024-02-29 23:59:59"), (LocalDateTime{2024, 2, 29, 23, 59, 59}));
}

}  // namespace
