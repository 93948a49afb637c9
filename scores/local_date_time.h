#pragma once
// Local dates and times as the player's clock showed them, and the calendar's day numbers that
// count days across months, years and daylight-saving changes alike.

#include <compare>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
  auto operator<=>(const LocalDateTime&) const = default;
};

LocalDateTime LocalDateTimeOf(const std::tm& local);
// Whether it names a real moment of the Gregorian calendar, years 100 to 9999.
bool IsRealDateTime(const LocalDateTime& time);

// Days since 1970-01-01, for any date of the Gregorian calendar.
int64_t DayNumber(int year, int month, int day);
inline int64_t DayNumber(const LocalDateTime& time) {
  return DayNumber(time.year, time.month, time.day);
}
// The date of a day number, as a time at midnight.
LocalDateTime DateOfDay(int64_t day);

// "yyyy/mm/dd hh:mm:ss", the fields perhaps without their leading zeros, as the high-score
// table keeps it; nothing when it is no real date and time.
std::optional<LocalDateTime> ReadSlashedStamp(std::string_view text);
// "YYYY-MM-DD HH:MM:SS", as the history keeps it, and back.
std::string IsoText(const LocalDateTime& time);
std::optional<LocalDateTime> ReadIsoText(std::string_view text);
// "2024年01月05日 09:03:07".
std::string JapaneseText(const LocalDateTime& time);
// "2024年01月05日".
std::string JapaneseDate(const LocalDateTime& time);
