#include "scores/work_curve.h"

#include <algorithm>
#include <numeric>

#include "scores/median.h"

int IntervalOf(uint32_t ms_since_go) {
  return static_cast<int>(std::min<uint32_t>(ms_since_go / kIntervalMs, kIntervals - 1));
}

WorkCurve CurveOf(const std::vector<AnswerPress>& presses) {
  WorkCurve curve;
  for (const AnswerPress& press : presses)
    ++(press.correct ? curve.correct : curve.wrong)[IntervalOf(press.ms_since_go)];
  return curve;
}

std::vector<uint32_t> AnswerTimes(const std::vector<AnswerPress>& presses) {
  std::vector<uint32_t> times;
  uint32_t since = 0;
  for (const AnswerPress& press : presses) {
    if (!press.correct) continue;
    times.push_back(press.ms_since_go - since);
    since = press.ms_since_go;
  }
  return times;
}

CurveFigures FiguresOf(const std::vector<AnswerPress>& presses) {
  const WorkCurve curve = CurveOf(presses);
  const IntervalCounts& counts = curve.correct;
  CurveFigures figures;
  figures.score = std::accumulate(counts.begin(), counts.end(), 0);
  figures.wrong = std::accumulate(curve.wrong.begin(), curve.wrong.end(), 0);
  if (!presses.empty())
    figures.accuracy = static_cast<double>(figures.score) / static_cast<double>(presses.size());
  figures.median_answer_ms = Median(AnswerTimes(presses));
  if (figures.score == 0) return figures;
  const double mean = static_cast<double>(figures.score) / kIntervals;
  const auto [lowest, highest] = std::minmax_element(counts.begin(), counts.end());
  figures.initial_effort = counts.front() / mean;
  figures.fluctuation = (*highest - *lowest) / mean;
  const int first_half = std::accumulate(counts.begin(), counts.begin() + kIntervals / 2, 0);
  if (first_half > 0)
    figures.second_half = static_cast<double>(figures.score - first_half) / first_half;
  return figures;
}

std::array<double, kIntervals> MedianCurve(const std::vector<WorkCurve>& curves) {
  std::array<double, kIntervals> median{};
  for (int interval = 0; interval < kIntervals; ++interval) {
    std::vector<int> counts;
    for (const WorkCurve& curve : curves)
      counts.push_back(curve.correct[interval]);
    median[interval] = Median(counts).value_or(0);
  }
  return median;
}
