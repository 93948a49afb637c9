#include "scores/high_scores.h"

#include "platform/failures.h"
#include "platform/ini_text.h"
#include "platform/local_time.h"
#include "platform/val.h"
#include "scores/settings.h"

namespace {

constexpr const char* kSection = "Data";
constexpr int kSlots = 5;
using Slots = std::array<std::string, kSlots>;

bool last_saved = true;

std::string SlotKey(int rank) {
  return "HISCORE" + std::to_string(rank);
}

Slots SlotsOf(const std::string& text) {
  Slots slots;
  for (int rank = 1; rank <= kSlots; ++rank)
    slots[rank - 1] = SettingValue(text, kSection, SlotKey(rank));
  return slots;
}

bool Beats(double score, double stored, int order) {
  if (order == HigherFirst) return score > stored;
  if (order == LowerFirst) return score < stored;
  return false;
}

// The slot a score goes into: the first empty or beaten one, 0 when none.
int RankIn(const Slots& slots, double score, int order) {
  for (int rank = 1; rank <= kSlots; ++rank) {
    const std::string& stored = slots[rank - 1];
    if (stored.empty() || Beats(score, StoredScore(stored), order)) return rank;
  }
  return 0;
}

std::string EntryNow(std::string_view score, std::string_view note) {
  return HighScoreEntry(score, note, LocalTimeNow());
}

// The text with the entry at rank. Into an empty slot it is one value; over a filled one,
// everything from slot 4 up to the rank moves down one slot first, the fifth entry dropping
// out, so the file changes as it always has, key by key.
std::string Inserted(std::string text, const Slots& slots, int rank, const std::string& entry) {
  if (!slots[rank - 1].empty()) {
    for (int slot = kSlots - 1; slot >= rank; --slot)
      text = SetIniValue(text, kSection, SlotKey(slot + 1), slots[slot - 1]);
  }
  return SetIniValue(text, kSection, SlotKey(rank), entry);
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

std::optional<Slots> ReadHighScores() {
  std::optional<std::string> text = ReadSettingsText();
  if (!text) return std::nullopt;
  return SlotsOf(*text);
}

int RecordHighScore(std::string_view score, std::string_view note, int order) {
  if (!IniValueFits(score) || !IniValueFits(note)) {
    ReportProblem("a score or note cannot hold a line break");
    last_saved = false;
    return 0;
  }
  const double value = Val(score);
  int rank = 0;
  last_saved = EditSettings([&](const std::string& text) -> std::optional<std::string> {
    Slots slots = SlotsOf(text);
    rank = RankIn(slots, value, order);
    if (rank == 0) return std::nullopt;
    return Inserted(text, slots, rank, EntryNow(score, note));
  });
  return rank;
}

bool HighScoreSaved() {
  return last_saved;
}
