#include "scores/records_summary.h"

#include "scores/figure_text.h"

namespace {

std::string Count(int count) {
  return std::to_string(count) + " 回";
}

std::string SlowestSums(const WeakSums& weak) {
  std::string text;
  for (const auto& [left, right] : weak.slowest) {
    text += (text.empty() ? "" : "、") + PairText(left, right) + " " +
            SecondsText(weak.pairs[left][right].median_ms);
  }
  return text.empty() ? "まだありません" : text;
}

}  // namespace

std::string RecordsSummary(const RecordsOverview& overview) {
  std::string text = "タイムアタック: " + Count(overview.attacks);
  if (overview.carried_over > 0)
    text += "（うちハイスコアから引き継ぎ " + Count(overview.carried_over) + "）";
  text += "\n";
  if (!overview.best) return text;
  text += "ベスト: " + std::to_string(overview.best->score) + " 回正解（" +
          JapaneseText(overview.best->started) + "）\n";
  text += "直近7日: " + Count(overview.week_attacks);
  if (overview.week_attacks > 0) {
    text += "、ベスト " + std::to_string(overview.week_best) + " 回正解、平均 " +
            RatioText(overview.week_mean);
  }
  text += "\n連続して遊んだ日: 今 " + std::to_string(overview.trend.current_streak) + " 日、最長 " +
          std::to_string(overview.trend.longest_streak) + " 日\n";
  if (overview.last) {
    const CurveFigures& last = overview.last->figures;
    text += "前回: " + std::to_string(last.score) + " 回正解、正確さ " +
            PercentText(last.accuracy) + "、1問あたり " + SecondsText(last.median_answer_ms) +
            "（中央値）\n";
  }
  text += "時間のかかる足し算（直近 " + Count(overview.weak_attacks) +
          "）: " + SlowestSums(overview.weak) + "\n";
  return text;
}
