#include "scores/history_schema.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "scores/carried_over.h"

namespace {

// Only digits, however the file is written to.
constexpr const char* kTimeAttacksAndPresses = R"(
  CREATE TABLE time_attack (
    id INTEGER PRIMARY KEY,
    started TEXT NOT NULL,  -- the player's clock: YYYY-MM-DD HH:MM:SS
    utc_offset INTEGER,     -- minutes east of Greenwich; NULL where it is not known
    score INTEGER NOT NULL CHECK (score >= 0),
    wrong INTEGER CHECK (wrong >= 0)  -- NULL where it is not known
  );
  CREATE TABLE press (
    time_attack INTEGER NOT NULL REFERENCES time_attack (id),
    seq INTEGER NOT NULL CHECK (seq >= 0),  -- the order typed
    ms INTEGER NOT NULL CHECK (ms BETWEEN 0 AND 60000),  -- from "GO!" gone
    left_digit INTEGER NOT NULL CHECK (left_digit BETWEEN 0 AND 9),
    right_digit INTEGER NOT NULL CHECK (right_digit BETWEEN 0 AND 9),
    typed INTEGER NOT NULL CHECK (typed BETWEEN 0 AND 9),
    correct INTEGER NOT NULL CHECK (correct = ((left_digit + right_digit) % 10 = typed)),
    PRIMARY KEY (time_attack, seq)
  ) WITHOUT ROWID;
)";

constexpr const char* kCarriedOverMark = R"(
  ALTER TABLE time_attack ADD COLUMN
    carried_over INTEGER NOT NULL DEFAULT 0 CHECK (carried_over IN (0, 1));
)";

// The history's beginning: its first time attack, or the one about to be recorded.
LocalDateTime HistoryBegins(const Database& database, const LocalDateTime& first_start) {
  Statement first(database, "SELECT min(started) FROM time_attack");
  first.Step();
  if (std::optional<LocalDateTime> started = ReadIsoText(first.Text(0)))
    return std::min(*started, first_start);
  return first_start;
}

void CarryOverHighScores(Database& database, const LocalDateTime& first_start) {
  Statement insert(database,
                   "INSERT INTO time_attack (started, score, carried_over) VALUES (?, ?, 1)");
  for (const CarriedScore& carried : HighScoresBefore(HistoryBegins(database, first_start))) {
    insert.Bind(1, IsoText(carried.recorded)).Bind(2, carried.score).Step();
    insert.Reset();
  }
}

struct Step {
  const char* sql;
  void (*then)(Database&, const LocalDateTime&);
};

// Version n is reached by step n - 1.
constexpr Step kSteps[] = {
    {kTimeAttacksAndPresses, nullptr},
    {kCarriedOverMark, CarryOverHighScores},
};
static_assert(std::size(kSteps) == kHistoryVersion);

}  // namespace

int SchemaVersion(const Database& database) {
  Statement version(database, "PRAGMA user_version");
  version.Step();
  return static_cast<int>(version.Int(0));
}

void RequireKnownVersion(int version) {
  if (version <= kHistoryVersion) return;
  throw DatabaseError(DatabaseFailure::kOther,
                      "it was written by a later version of the game (its version " +
                          std::to_string(version) + ", this game's " +
                          std::to_string(kHistoryVersion) + ")");
}

void UpgradeSchema(Database& database, int to, const LocalDateTime& first_start) {
  const int version = SchemaVersion(database);
  RequireKnownVersion(version);
  if (version >= to) return;
  for (int step = version; step < to; ++step) {
    database.Execute(kSteps[step].sql);
    if (kSteps[step].then) kSteps[step].then(database, first_start);
  }
  database.Execute("PRAGMA user_version = " + std::to_string(to));
}
