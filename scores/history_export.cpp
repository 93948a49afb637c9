#include "scores/history_export.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// "+09:00", "-03:30"; "" where it is not known.
std::string OffsetText(const std::optional<int>& minutes) {
  if (!minutes) return "";
  char text[16];
  const int size = std::abs(*minutes);
  std::snprintf(text, sizeof text, "%c%02d:%02d", *minutes < 0 ? '-' : '+', size / 60, size % 60);
  return text;
}

std::string Number(const std::optional<int>& value, const char* unknown) {
  return value ? std::to_string(*value) : unknown;
}

// What a time attack's rows share, in CSV.
std::string CsvAttack(const StoredAttack& attack) {
  return std::to_string(attack.id) + "," + IsoText(attack.started) + "," +
         OffsetText(attack.utc_offset_minutes) + "," + std::to_string(attack.score) + "," +
         Number(attack.wrong, "") + "," + (attack.carried_over ? "1" : "0");
}

std::string JsonString(const std::string& text) {
  // Dates and offsets hold digits, "-", ":", "+" and a space only.
  return text.empty() ? "null" : "\"" + text + "\"";
}

}  // namespace

void WriteHistoryCsv(const std::vector<StoredAttack>& attacks, std::ostream& out) {
  out << "time_attack,started,utc_offset,score,wrong,carried_over,"
         "press,ms_since_go,left,right,typed,correct\n";
  for (const StoredAttack& attack : attacks) {
    const std::string shared = CsvAttack(attack);
    if (attack.presses.empty()) out << shared << ",,,,,,\n";
    int number = 0;
    for (const AnswerPress& press : attack.presses) {
      out << shared << "," << ++number << "," << press.ms_since_go << "," << press.left << ","
          << press.right << "," << press.typed << "," << (press.correct ? 1 : 0) << "\n";
    }
  }
}

void WriteHistoryJson(const std::vector<StoredAttack>& attacks, std::ostream& out) {
  out << "{\"time_attacks\": [";
  const char* between = "\n";
  for (const StoredAttack& attack : attacks) {
    out << between << "  {\"id\": " << attack.id << ", \"started\": \"" << IsoText(attack.started)
        << "\", \"utc_offset\": " << JsonString(OffsetText(attack.utc_offset_minutes))
        << ", \"score\": " << attack.score << ", \"wrong\": " << Number(attack.wrong, "null")
        << ", \"carried_over\": " << (attack.carried_over ? "true" : "false") << ", \"presses\": [";
    const char* next = "\n";
    for (const AnswerPress& press : attack.presses) {
      out << next << "    {\"ms_since_go\": " << press.ms_since_go << ", \"left\": " << press.left
          << ", \"right\": " << press.right << ", \"typed\": " << press.typed
          << ", \"correct\": " << (press.correct ? "true" : "false") << "}";
      next = ",\n";
    }
    out << (attack.presses.empty() ? "]}" : "\n  ]}");
    between = ",\n";
  }
  out << (attacks.empty() ? "]}\n" : "\n]}\n");
}
