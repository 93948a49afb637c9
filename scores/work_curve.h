#pragma once
// How a time attack's minute went: correct answers and wrong presses in each five seconds, and
// the training figures of the curve they make.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "scores/attack_record.h"

inline constexpr int kIntervals = 12;
inline constexpr uint32_t kIntervalMs = kPlayMs / kIntervals;

using IntervalCounts = std::array<int, kIntervals>;

struct WorkCurve {
  IntervalCounts correct{};
  IntervalCounts wrong{};
};

// The five seconds a press falls in: [0, 5000) is the first; the end of play counts in the last.
int IntervalOf(uint32_t ms_since_go);
WorkCurve CurveOf(const std::vector<AnswerPress>& presses);

// For each correct answer, the time since the one before it, or since "GO!" for the first.
std::vector<uint32_t> AnswerTimes(const std::vector<AnswerPress>& presses);

struct CurveFigures {
  int score = 0;
  int wrong = 0;
  std::optional<double> accuracy;          // correct answers among all presses
  std::optional<double> median_answer_ms;  // of AnswerTimes
  // The intervals against their mean, score / 12: none for a score of 0.
  std::optional<double> initial_effort;  // the first interval against the mean
  std::optional<double> fluctuation;     // (highest - lowest interval) / mean
  // The last six intervals against the first six: none while the first six have no answer.
  std::optional<double> second_half;
};

CurveFigures FiguresOf(const std::vector<AnswerPress>& presses);

// Interval by interval, the median of the curves' correct answers; all 0 without curves.
std::array<double, kIntervals> MedianCurve(const std::vector<WorkCurve>& curves);
