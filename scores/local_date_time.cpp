#include "scores/local_date_time.h"

#include <cstdio>

namespace {

// Reads six numbers in the pattern, all of the text and nothing more.
std::optional<LocalDateTime> Read(std::string_view text, const char* pattern) {
  LocalDateTime time;
  int used = 0;
  std::string copy(text);
  if (std::sscanf(copy.c_str(), pattern, &time.year, &time.month, &time.day, &time.hour,
                  &time.minute, &time.second, &used) != 6 ||
      static_cast<size_t>(used) != copy.size() || !IsRealDateTime(time)) {
    return std::nullopt;
  }
  return time;
}

std::string Format(const LocalDateTime& time, const char* pattern) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, time.year, time.month, time.day, time.hour, time.minute,
                time.second);
  return text;
}

}  // namespace

LocalDateTime LocalDateTimeOf(const std::tm& local) {
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

bool IsRealDateTime(const LocalDateTime& time) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (time.year % 4 == 0 && time.year % 100 != 0) || time.year % 400 == 0;
  return time.year >= 100 && time.year <= 9999 && time.month >= 1 && time.month <= 12 &&
         time.day >= 1 && time.day <= (time.month == 2 && !leap ? 28 : kDays[time.month - 1]) &&
         time.hour >= 0 && time.hour <= 23 && time.minute >= 0 && time.minute <= 59 &&
         time.second >= 0 && time.second <= 59;
}

// The civil-calendar day count of Howard Hinnant's public-domain algorithms.
int64_t DayNumber(int year, int month, int day) {
  const int64_t y = year - (month <= 2 ? 1 : 0);
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t year_of_era = y - era * 400;
  const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

LocalDateTime DateOfDay(int64_t day) {
  const int64_t z = day + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t day_of_era = z - era * 146097;
  const int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const int64_t shifted_month = (5 * day_of_year + 2) / 153;
  const int month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  const int year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1)};
}

std::optional<LocalDateTime> ReadSlashedStamp(std::string_view text) {
  return Read(text, "%4d/%2d/%2d %2d:%2d:%2d%n");
}

std::string IsoText(const LocalDateTime& time) {
  return Format(time, "%04d-%02d-%02d %02d:%02d:%02d");
}

std::optional<LocalDateTime> ReadIsoText(std::string_view text) {
  return Read(text, "%4d-%2d-%2d %2d:%2d:%2d%n");
}

std::string JapaneseText(const LocalDateTime& time) {
  return Format(time, "%04d年%02d月%02d日 %02d:%02d:%02d");
}

std::string JapaneseDate(const LocalDateTime& time) {
  return Format(time, "%04d年%02d月%02d日");
}
