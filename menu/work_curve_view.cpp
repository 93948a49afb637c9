// The last time attack's minute, five seconds at a time, beside the best one's and the median
// of the last 30 days, with its figures.

#include <algorithm>
#include <string>

#include "menu/chart.h"
#include "menu/records_layout.h"
#include "menu/records_views.h"
#include "scores/figure_text.h"

namespace {

using namespace records_layout;

constexpr float kFiguresLeft = kCurveLeft + kIntervalWidth * kIntervals + 28;

float IntervalX(int interval) {
  return kCurveLeft + kIntervalWidth * static_cast<float>(interval);
}

float IntervalMiddle(int interval) {
  return IntervalX(interval) + kIntervalWidth / 2;
}

double Highest(const RecordsOverview& overview) {
  double highest = 0;
  for (int i = 0; i < kIntervals; ++i) {
    highest = std::max(
        {highest, static_cast<double>(overview.last->curve.correct[i]), overview.month_median[i]});
    if (overview.best_curve)
      highest = std::max(highest, static_cast<double>(overview.best_curve->curve.correct[i]));
  }
  return highest;
}

void DrawBars(Drawing& drawing, const chart::Axis& axis, const WorkCurve& curve) {
  for (int i = 0; i < kIntervals; ++i) {
    const float top = axis.At(curve.correct[i]);
    drawing.Rect(IntervalX(i) + kBarInset, top, kIntervalWidth - 2 * kBarInset, kCurveBottom - top,
                 chart::kBar);
    // The wrong presses of the interval, below its label.
    if (curve.wrong[i] > 0) {
      drawing.Text(IntervalX(i), kCurveBottom + 20, kIntervalWidth, 16,
                   "×" + std::to_string(curve.wrong[i]), chart::Font(), chart::kWrong,
                   Alignment::Center);
    }
  }
}

template <typename Counts>
void DrawCurve(Drawing& drawing, const chart::Axis& axis, const Counts& counts, Color color,
               bool dashed) {
  std::vector<DrawnPoint> points;
  for (int i = 0; i < kIntervals; ++i)
    points.push_back({IntervalMiddle(i), axis.At(counts[i])});
  drawing.Line(std::move(points), 2, color, dashed);
}

void DrawAxes(Drawing& drawing, const chart::Axis& axis) {
  axis.Draw(drawing, kCurveLeft, IntervalX(kIntervals));
  for (int i = 0; i <= kIntervals; ++i) {
    drawing.Rect(IntervalX(i), kCurveBottom, 1, 4, chart::kQuiet);
    drawing.Text(IntervalX(i) - 16, kCurveBottom + 4, 32, 16, std::to_string(i * 5), chart::Font(),
                 chart::kQuiet, Alignment::Center);
  }
  chart::Label(drawing, IntervalX(kIntervals) + 16, kCurveBottom + 12, "秒", chart::kQuiet);
  chart::Label(drawing, 8, kCurveBottom + 28, "誤り", chart::kWrong);
  chart::Label(drawing, 8, kCurveTop - 14, "正解", chart::kQuiet);
}

void DrawFigures(Drawing& drawing, const RecordsOverview& overview) {
  const CurveFigures& figures = overview.last->figures;
  const std::pair<std::string, std::string> rows[] = {
      {"スコア", std::to_string(figures.score) + " 回"},
      {"誤り", std::to_string(figures.wrong) + " 回"},
      {"正確さ", PercentText(figures.accuracy)},
      {"1問の時間（中央値）", SecondsText(figures.median_answer_ms)},
      {"出だし（最初の5秒÷平均）", RatioText(figures.initial_effort)},
      {"ゆらぎ（(最高−最低)÷平均）", RatioText(figures.fluctuation)},
      {"後半÷前半", RatioText(figures.second_half)},
  };
  float y = kCurveTop + 4;
  chart::Label(drawing, kFiguresLeft, y, "前回のタイムアタック", chart::kText, 10, true);
  chart::Label(drawing, kFiguresLeft, y + 20, JapaneseText(overview.last->started), chart::kQuiet);
  y += 54;
  const float width = kWidth - 16 - kFiguresLeft;
  for (const auto& [name, value] : rows) {
    chart::Label(drawing, kFiguresLeft, y, name, chart::kQuiet);
    drawing.Text(kFiguresLeft, y - 10, width, 20, value, chart::Font(11, true), chart::kText,
                 Alignment::Right);
    drawing.Rect(kFiguresLeft, y + 14, width, 1, chart::kRule);
    y += 34;
  }
}

void DrawLegend(Drawing& drawing, const RecordsOverview& overview) {
  float x = kCurveLeft;
  const float y = kContentTop + 10;
  x = chart::LegendBox(drawing, x, y, chart::kBar, "前回");
  if (overview.best_curve)
    x = chart::LegendLine(
        drawing, x, y, chart::kBest,
        "ベスト（" + std::to_string(overview.best_curve->figures.score) + " 回）");
  chart::LegendLine(drawing, x, y, chart::kMedian,
                    "30日の中央値（" + std::to_string(overview.month_attacks) + " 回分）", true);
}

}  // namespace

void DrawWorkCurveView(Drawing& drawing, const RecordsOverview& overview) {
  if (!overview.last) {
    chart::Label(drawing, 24, kContentTop + 40,
                 "まだ記録がありません。タイムアタックを遊ぶと、5秒ごとの正解の数がここに出ます。");
    return;
  }
  const chart::Axis axis(Highest(overview), kCurveTop, kCurveBottom);
  DrawAxes(drawing, axis);
  DrawBars(drawing, axis, overview.last->curve);
  if (overview.month_attacks > 0)
    DrawCurve(drawing, axis, overview.month_median, chart::kMedian, true);
  if (overview.best_curve)
    DrawCurve(drawing, axis, overview.best_curve->curve.correct, chart::kBest, false);
  DrawLegend(drawing, overview);
  DrawFigures(drawing, overview);
}
