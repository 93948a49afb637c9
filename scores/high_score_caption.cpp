#include "scores/high_score_display.h"

#include "scores/local_date_time.h"

namespace {

constexpr std::string_view kRankMarks[] = {"１", "２", "３", "４", "５"};

std::string RankMark(int rank) {
  return rank >= 1 && rank <= 5 ? std::string(kRankMarks[rank - 1]) : std::to_string(rank);
}

// The last count characters of UTF-8 text, never splitting one.
std::string_view LastCharacters(std::string_view text, size_t count) {
  size_t start = text.size();
  while (count > 0 && start > 0) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) --count;
  }
  return text.substr(start);
}

}  // namespace

std::string HighScoreCaption(int rank, std::string_view entry) {
  std::string caption = RankMark(rank) + "位：";
  if (entry.empty()) return caption + "(なし)";
  size_t first_comma = entry.find(',');
  std::string_view score = entry.substr(0, first_comma);
  std::string_view stamp = first_comma == std::string_view::npos
                               ? std::string_view()
                               : entry.substr(entry.rfind(',') + 1);
  std::string column = "   " + std::string(score);
  std::optional<LocalDateTime> time = ReadSlashedStamp(stamp);
  return caption + (time ? JapaneseText(*time) : std::string(stamp)) +
         "  スコア: " + std::string(LastCharacters(column, 4)) + " 回";
}

std::string UnreadableHighScoreCaption(int rank) {
  return RankMark(rank) + "位：(読めません)";
}
