#include "scores/weak_sums.h"

#include <algorithm>
#include <tuple>

#include "scores/median.h"
#include "scores/work_curve.h"

namespace {

struct Tally {
  std::vector<uint32_t> times;
  int wrong = 0;

  void Add(const Tally& other) {
    times.insert(times.end(), other.times.begin(), other.times.end());
    wrong += other.wrong;
  }
  SumFigures Figures() const {
    SumFigures figures;
    figures.answers = static_cast<int>(times.size());
    figures.wrong = wrong;
    figures.median_ms = Median(times);
    if (const int presses = figures.answers + wrong; presses > 0)
      figures.error_rate = static_cast<double>(wrong) / presses;
    return figures;
  }
};

}  // namespace

WeakSums WeakSumsOf(const std::vector<const std::vector<AnswerPress>*>& attacks) {
  std::array<std::array<Tally, 10>, 10> tallies;
  for (const std::vector<AnswerPress>* presses : attacks) {
    const std::vector<uint32_t> times = AnswerTimes(*presses);
    size_t answer = 0;
    for (const AnswerPress& press : *presses) {
      Tally& tally = tallies[press.left][press.right];
      if (press.correct) {
        tally.times.push_back(times[answer++]);
      } else {
        ++tally.wrong;
      }
    }
  }
  WeakSums sums;
  Tally carry, no_carry;
  std::vector<std::pair<int, int>> ranked;
  for (int left = 0; left < 10; ++left) {
    for (int right = 0; right < 10; ++right) {
      const Tally& tally = tallies[left][right];
      (left + right >= 10 ? carry : no_carry).Add(tally);
      sums.pairs[left][right] = tally.Figures();
      if (sums.pairs[left][right].answers >= kAnswersToRank) ranked.emplace_back(left, right);
    }
  }
  sums.with_carry = carry.Figures();
  sums.without_carry = no_carry.Figures();
  // Slowest first; among equals, the more error-prone, then the lower pair.
  auto key = [&](const std::pair<int, int>& pair) {
    const SumFigures& figures = sums.pairs[pair.first][pair.second];
    return std::tuple(-*figures.median_ms, -figures.error_rate.value_or(0), pair);
  };
  std::sort(ranked.begin(), ranked.end(), [&](auto& a, auto& b) { return key(a) < key(b); });
  ranked.resize(std::min(ranked.size(), kSlowestShown));
  sums.slowest = ranked;
  return sums;
}
