#pragma once
// Which sums cost the player time or mistakes: every pair of digits, left by right, with its
// median answer time and its error rate, the pairs with and without a carry, and the slowest.

#include <array>
#include <optional>
#include <utility>
#include <vector>

#include "scores/attack_record.h"

// A pair ranks among the slowest once it has been answered this often.
inline constexpr int kAnswersToRank = 3;
inline constexpr size_t kSlowestShown = 5;

struct SumFigures {
  int answers = 0;                   // correct answers
  int wrong = 0;                     // wrong presses
  std::optional<double> median_ms;   // of the answers' times
  std::optional<double> error_rate;  // wrong presses among all presses
};

struct WeakSums {
  std::array<std::array<SumFigures, 10>, 10> pairs;  // [left][right]
  SumFigures with_carry;                             // left + right of 10 or more
  SumFigures without_carry;
  // Up to five pairs {left, right}, the slowest first, among those answered kAnswersToRank times.
  std::vector<std::pair<int, int>> slowest;
};

// A correct answer's time (AnswerTimes) counts for its pair, as does each wrong press.
WeakSums WeakSumsOf(const std::vector<const std::vector<AnswerPress>*>& attacks);
