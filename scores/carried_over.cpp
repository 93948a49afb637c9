#include "scores/carried_over.h"

#include <algorithm>
#include <climits>
#include <set>
#include <string>

#include "scores/high_scores.h"

std::vector<CarriedScore> HighScoresBefore(const LocalDateTime& moment) {
  std::vector<CarriedScore> carried;
  const std::optional<std::array<std::string, 5>> table = ReadHighScores();
  if (!table) return carried;
  std::set<std::string> seen;
  for (const std::string& entry : *table) {
    if (entry.empty() || !seen.insert(entry).second) continue;
    std::optional<LocalDateTime> stamp = ReadSlashedStamp(entry.substr(entry.rfind(',') + 1));
    if (!stamp || *stamp >= moment) continue;
    const double score = std::clamp(StoredScore(entry), 0.0, static_cast<double>(INT_MAX));
    carried.push_back({*stamp, static_cast<int>(score)});
  }
  return carried;
}
