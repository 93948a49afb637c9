#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "platform/local_time.h"
#include "scores/history_trend.h"
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
  EXPECT_EQ(figures.score, 5);
  EXPECT_EQ(figures.wrong, 2);
  EXPECT_DOUBLE_EQ(*figures.accuracy, 5.0 / 7);
  // Answer times 0, 4999, 1, 54999, 1.
  EXPECT_DOUBLE_EQ(*figures.median_answer_ms, 1);
  // The mean interval is 5 / 12.
  EXPECT_DOUBLE_EQ(*figures.initial_effort, 2 / (5.0 / 12));
  EXPECT_DOUBLE_EQ(*figures.fluctuation, (2 - 0) / (5.0 / 12));
  EXPECT_DOUBLE_EQ(*figures.second_half, 2.0 / 3);

  // An even count of answers: the mean of the middle two (times 100, 300, 200, 400).
  EXPECT_DOUBLE_EQ(
      *FiguresOf(Presses({{100, 0, 0, 0}, {400, 0, 0, 0}, {600, 0, 0, 0}, {1000, 0, 0, 0}}))
           .median_answer_ms,
      250);

  const CurveFigures nothing = FiguresOf(Presses({{1000, 1, 1, 3}}));
  EXPECT_EQ(nothing.score, 0);
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
  const auto three = MedianCurve({curve(1, 9), curve(5, 2), curve(3, 4)});
  EXPECT_EQ(three.front(), 3);
  EXPECT_EQ(three.back(), 4);
  EXPECT_EQ(MedianCurve({curve(2, 0), curve(4, 1)}).front(), 3);
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

  const SumFigures& seven_eight = sums.pairs[7][8];
  EXPECT_EQ(seven_eight.answers, 3);
  EXPECT_DOUBLE_EQ(*seven_eight.median_ms, 1000);
  EXPECT_DOUBLE_EQ(*seven_eight.error_rate, 0);
  const SumFigures& eight_three = sums.pairs[8][3];
  EXPECT_EQ(eight_three.wrong, 1);
  EXPECT_DOUBLE_EQ(*eight_three.median_ms, 1500);
  EXPECT_DOUBLE_EQ(*eight_three.error_rate, 0.5);
  EXPECT_DOUBLE_EQ(*sums.pairs[3][5].median_ms, 200);
  EXPECT_FALSE(sums.pairs[5][3].median_ms) << "left and right are not the same pair";
  EXPECT_FALSE(sums.pairs[5][3].error_rate);

  // With a carry: 7+8 and 8+3, times 1000, 3000, 400, 1500 and one wrong press of five.
  EXPECT_EQ(sums.with_carry.answers, 4);
  EXPECT_DOUBLE_EQ(*sums.with_carry.median_ms, 1250);
  EXPECT_DOUBLE_EQ(*sums.with_carry.error_rate, 0.2);
  EXPECT_EQ(sums.without_carry.answers, 5);
  EXPECT_DOUBLE_EQ(*sums.without_carry.median_ms, 600);

  EXPECT_EQ(sums.slowest, (std::vector<std::pair<int, int>>{{7, 8}, {3, 5}}));
}

TEST(WeakSums, OnlyTheFiveSlowestRankAndEqualTimesGoByErrorRate) {
  std::vector<Typed> typed;
  uint32_t ms = 0;
  for (int pair = 0; pair < 8; ++pair) {
    if (pair == 3) typed.push_back({ms, pair, 1, 0});  // wrong
    for (int answer = 0; answer < 3; ++answer) {
      // Pairs 2 and 3 take equally long; 3 has an error.
      ms += 100 * (pair == 3 ? 3 : pair + 1);
      typed.push_back({ms, pair, 1, (pair + 1) % 10});
    }
  }
  const auto presses = Presses(typed);
  EXPECT_EQ(WeakSumsOf({&presses}).slowest,
            (std::vector<std::pair<int, int>>{{7, 1}, {6, 1}, {5, 1}, {4, 1}, {3, 1}}));
}

// A day is the player's calendar day: a UTC day or a 24-hour step gives other days where the
// clocks change, and another streak.
class Days : public testing::Test {
 protected:
  static void SetZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  void TearDown() override {
    if (saved_) {
      setenv("TZ", saved_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  // A UTC moment on the player's clock, as the game takes it when a time attack starts.
  static ScoredMoment At(int year, int month, int day, int hour, int minute, int score) {
    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    return {LocalDateTimeOf(LocalTimeAt(timegm(&utc))), score};
  }
  std::optional<std::string> saved_ =
      std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::nullopt;
};

TEST_F(Days, ArePlayersLocalDaysAcrossMidnightAndTheStartOfSummerTime) {
  SetZone("Europe/Berlin");  // 2024-03-31 02:00 CET became 03:00 CEST
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

TEST_F(Days, ArePlayersLocalDaysAtTheEndOfSummerTimeWestOfGreenwich) {
  SetZone("America/New_York");  // 2024-11-03 02:00 EDT became 01:00 EST
  const std::vector<ScoredMoment> moments = {
      At(2024, 11, 2, 4, 30, 1),  // 00:30 on the 2nd, EDT
      At(2024, 11, 3, 3, 30, 2),  // 23:30 on the 2nd
      At(2024, 11, 4, 4, 30, 3),  // 23:30 on the 3rd, EST: a day of 25 hours later
      At(2024, 11, 4, 5, 30, 4),  // 00:30 on the 4th
  };
  EXPECT_EQ(moments[2].started, (LocalDateTime{2024, 11, 3, 23, 30, 0}));
  const HistoryTrend trend = TrendOf(moments, DayNumber(2024, 11, 4));
  ASSERT_EQ(trend.days.size(), 3u);
  EXPECT_EQ(trend.days[0].attacks, 2);
  EXPECT_EQ(trend.longest_streak, 3);
  EXPECT_EQ(trend.current_streak, 3);
}

TEST(Dates, DayNumbersCountAcrossMonthsLeapYearsAndCenturies) {
  EXPECT_EQ(DayNumber(1970, 1, 1), 0);
  EXPECT_EQ(DayNumber(2000, 3, 1) - DayNumber(2000, 2, 28), 2) << "2000 was a leap year";
  EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 1) << "2100 is not";
  EXPECT_EQ(DayNumber(2025, 1, 1) - DayNumber(2024, 12, 31), 1);
  for (int64_t day : {-1L, 0L, 19723L, 2932896L})
    EXPECT_EQ(DayNumber(DateOfDay(day)), day);
  EXPECT_FALSE(ReadIsoText("2024-02-30 09:03:07"));
  EXPECT_EQ(ReadIsoText("2024-02-29 23:59:59"), (LocalDateTime{2024, 2, 29, 23, 59, 59}));
  EXPECT_EQ(IsoText({2024, 1, 5, 9, 3, 7}), "2024-01-05 09:03:07");
}

}  // namespace
