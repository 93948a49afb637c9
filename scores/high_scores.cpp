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

// The slot a score goes into: the first empty one or the first with a lower score, 0 when
// none. Equal scores never displace each other.
int RankIn(const Slots& slots, int score) {
  for (int rank = 1; rank <= kSlots; ++rank) {
    const std::string& stored = slots[rank - 1];
    if (stored.empty() || score > StoredScore(stored)) return rank;
  }
  return 0;
}

// The text with the entry at rank. Into an empty slot it is one value; over a filled one,
// everything from slot 4 up to the rank moves down one slot first, the fifth entry dropping
// out, so the file changes as it always has, key by key. Entries read from the file always fit
// a line; nothing if one did not.
std::optional<std::string> Inserted(std::string text, const Slots& slots, int rank,
                                    const std::string& entry) {
  if (!slots[rank - 1].empty()) {
    for (int slot = kSlots - 1; slot >= rank; --slot) {
      std::optional<std::string> moved =
          SetIniValue(text, kSection, SlotKey(slot + 1), slots[slot - 1]);
      if (!moved) return std::nullopt;
      text = std::move(*moved);
    }
  }
  return SetIniValue(text, kSection, SlotKey(rank), entry);
}

}  // namespace

std::string HighScoreEntry(int score, const std::tm& local) {
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y/%m/%d %H:%M:%S", &local);
  // The note between the commas stays empty: the game has none to keep.
  return std::to_string(score) + ",," + stamp;
}

double StoredScore(std::string_view entry) {
  return Val(entry.substr(0, entry.find(',')));
}

std::optional<Slots> ReadHighScores() {
  std::optional<std::string> text = ReadSettingsText();
  if (!text) return std::nullopt;
  return SlotsOf(*text);
}

int RecordHighScore(int score) {
  int rank = 0;
  bool refused = false;
  last_saved = EditSettings([&](const std::string& text) -> std::optional<std::string> {
    Slots slots = SlotsOf(text);
    rank = RankIn(slots, score);
    if (rank == 0) return std::nullopt;
    std::optional<std::string> changed =
        Inserted(text, slots, rank, HighScoreEntry(score, LocalTimeNow()));
    refused = !changed;
    return changed;
  });
  if (refused) {
    ReportProblem("the high-score table holds an entry that does not fit on a line");
    last_saved = false;
  }
  return rank;
}

bool HighScoreSaved() {
  return last_saved;
}
