#include "scores/high_score_display.h"

#include <cstdio>
#include <optional>

namespace {

constexpr std::string_view kRankMarks[] = {"１", "２", "３", "４", "５"};

std::string RankMark(int rank) {
  return rank >= 1 && rank <= 5 ? std::string(kRankMarks[rank - 1]) : std::to_string(rank);
}

// Reads "yyyy/mm/dd hh:mm:ss" (fields may lack their leading zeros) as a real date and time.
std::optional<std::string> JapaneseTimeStamp(std::string_view stamp) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, used = 0;
  std::string text(stamp);
  if (std::sscanf(text.c_str(), "%4d/%2d/%2d %2d:%2d:%2d%n", &year, &month, &day, &hour, &minute,
                  &second, &used) != 6 ||
      static_cast<size_t>(used) != text.size()) {
    return std::nullopt;
  }
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (year < 100 || month < 1 || month > 12 || day < 1 ||
      day > (month == 2 && !leap ? 28 : kDays[month - 1]) || hour > 23 || minute > 59 ||
      second > 59 || hour < 0 || minute < 0 || second < 0) {
    return std::nullopt;
  }
  char out[64];
  std::snprintf(out, sizeof out, "%04d年%02d月%02d日 %02d:%02d:%02d", year, month, day, hour,
                minute, second);
  return std::string(out);
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
  return caption + JapaneseTimeStamp(stamp).value_or(std::string(stamp)) +
         "  スコア: " + std::string(LastCharacters(column, 4)) + " 回";
}

std::string UnreadableHighScoreCaption(int rank) {
  return RankMark(rank) + "位：(読めません)";
}
