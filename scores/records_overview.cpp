#include "scores/records_overview.h"

#include <algorithm>

#include "platform/local_time.h"
#include "scores/local_date_time.h"

namespace {

// Recorded time attacks only: a carried-over high score has no presses.
struct Chosen {
  std::optional<size_t> last;
  std::optional<size_t> best;
  std::vector<size_t> month;
  std::vector<size_t> recent;  // for the weak sums
};

bool InDays(const StoredAttack& attack, int64_t today, int days) {
  const int64_t day = DayNumber(attack.started);
  return day <= today && day > today - days;
}

Chosen Choose(const std::vector<StoredAttack>& attacks, int64_t today) {
  Chosen chosen;
  for (size_t i = attacks.size(); i-- > 0;) {
    const StoredAttack& attack = attacks[i];
    if (attack.carried_over) continue;
    if (!chosen.last) chosen.last = i;
    if (!chosen.best || attack.score >= attacks[*chosen.best].score) chosen.best = i;
    if (InDays(attack, today, kMonthDays) && chosen.month.size() < kMonthMostAttacks)
      chosen.month.push_back(i);
    if (chosen.recent.size() < kWeakSumsAttacks) chosen.recent.push_back(i);
  }
  return chosen;
}

AttackCurve CurveOfAttack(const StoredAttack& attack) {
  return {attack.started, CurveOf(attack.presses), FiguresOf(attack.presses)};
}

void AddHistory(RecordsOverview& overview, const std::vector<StoredAttack>& attacks) {
  std::vector<size_t> order(attacks.size());
  for (size_t i = 0; i < order.size(); ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return attacks[a].started < attacks[b].started; });
  int64_t week_sum = 0;
  for (size_t i : order) {
    const StoredAttack& attack = attacks[i];
    overview.moments.push_back({attack.started, attack.score, attack.carried_over});
    if (!overview.best || attack.score > overview.best->score)
      overview.best = overview.moments.back();
    overview.carried_over += attack.carried_over ? 1 : 0;
    if (InDays(attack, overview.today, kWeekDays)) {
      ++overview.week_attacks;
      overview.week_best = std::max(overview.week_best, attack.score);
      week_sum += attack.score;
    }
  }
  overview.attacks = static_cast<int>(attacks.size());
  if (overview.week_attacks > 0)
    overview.week_mean = static_cast<double>(week_sum) / overview.week_attacks;
  overview.trend = TrendOf(overview.moments, overview.today);
}

}  // namespace

std::vector<bool> PressesNeeded(const std::vector<StoredAttack>& attacks, int64_t today) {
  const Chosen chosen = Choose(attacks, today);
  std::vector<bool> needed(attacks.size(), false);
  if (chosen.last) needed[*chosen.last] = true;
  if (chosen.best) needed[*chosen.best] = true;
  for (size_t i : chosen.month)
    needed[i] = true;
  for (size_t i : chosen.recent)
    needed[i] = true;
  return needed;
}

RecordsOverview OverviewOf(const std::vector<StoredAttack>& attacks, int64_t today) {
  RecordsOverview overview;
  overview.today = today;
  AddHistory(overview, attacks);
  const Chosen chosen = Choose(attacks, today);
  if (chosen.last) overview.last = CurveOfAttack(attacks[*chosen.last]);
  if (chosen.best) overview.best_curve = CurveOfAttack(attacks[*chosen.best]);
  std::vector<WorkCurve> month;
  for (size_t i : chosen.month)
    month.push_back(CurveOf(attacks[i].presses));
  overview.month_attacks = static_cast<int>(month.size());
  overview.month_median = MedianCurve(month);
  std::vector<const std::vector<AnswerPress>*> recent;
  for (size_t i : chosen.recent)
    recent.push_back(&attacks[i].presses);
  overview.weak_attacks = static_cast<int>(recent.size());
  overview.weak = WeakSumsOf(recent);
  return overview;
}

std::optional<RecordsOverview> ReadRecordsOverview() {
  const int64_t today = DayNumber(LocalDateTimeOf(LocalTimeNow()));
  const History history = ReadHistory(
      [today](const std::vector<StoredAttack>& attacks) { return PressesNeeded(attacks, today); });
  if (!history.readable) return std::nullopt;
  return OverviewOf(history.attacks, today);
}
