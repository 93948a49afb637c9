#include "scores/high_scores.h"

#include "platform/val.h"
#include "scores/settings.h"

namespace {

constexpr const char* kSection = "Data";
constexpr int kSlots = 5;

std::string SlotKey(int rank) {
  return "HISCORE" + std::to_string(rank);
}

bool Beats(double score, double stored, int order) {
  if (order == HigherFirst) return score > stored;
  if (order == LowerFirst) return score < stored;
  return false;
}

std::string EntryNow(std::string_view score, std::string_view note) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return HighScoreEntry(score, note, local);
}

}  // namespace

std::string HighScoreEntry(std::string_view score, std::string_view note, const std::tm& local) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &local);
  return std::string(score) + "," + std::string(note) + "," + stamp;
}

double StoredScore(std::string_view entry) {
  return Val(entry.substr(0, entry.find(',')));
}

std::string ReadHighScoreEntry(int rank) {
  return ReadSetting(kSection, SlotKey(rank));
}

int RecordHighScore(std::string_view score, std::string_view note, int order) {
  const double value = Val(score);
  for (int rank = 1; rank <= kSlots; ++rank) {
    std::string stored = ReadHighScoreEntry(rank);
    if (stored.empty()) {
      WriteSetting(kSection, SlotKey(rank), EntryNow(score, note));
      return rank;
    }
    if (Beats(value, StoredScore(stored), order)) {
      std::string entry = EntryNow(score, note);
      // Everything from the rank down moves one slot; the fifth entry drops out.
      for (int slot = kSlots - 1; slot >= rank; --slot) {
        WriteSetting(kSection, SlotKey(slot + 1), ReadHighScoreEntry(slot));
      }
      WriteSetting(kSection, SlotKey(rank), entry);
      return rank;
    }
  }
  return 0;
}
