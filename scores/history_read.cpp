#include "scores/history_read.h"

#include <algorithm>

#include "platform/database.h"
#include "platform/failures.h"
#include "platform/local_time.h"
#include "scores/carried_over.h"
#include "scores/history_schema.h"
#include "scores/history_store.h"

namespace {

constexpr const char* kPressColumns = "ms, left_digit, right_digit, typed, correct";

// Before the file holds anything: the table's entries, as they will be carried over into it.
std::vector<StoredAttack> StandIns() {
  std::vector<StoredAttack> attacks;
  for (const CarriedScore& carried : HighScoresBefore(LocalDateTimeOf(LocalTimeNow()))) {
    StoredAttack attack;
    attack.started = carried.recorded;
    attack.score = carried.score;
    attack.carried_over = true;
    attacks.push_back(attack);
  }
  // In rank order, as they will be carried over.
  return attacks;
}

// Brings a file of an earlier version up to date, which writes it.
void BringUpToDate(Database& database, int version) {
  RequireKnownVersion(version);
  if (version == kHistoryVersion) return;
  Transaction transaction(database);
  UpgradeSchema(database, kHistoryVersion, LocalDateTimeOf(LocalTimeNow()));
  transaction.Commit();
}

std::vector<StoredAttack> Attacks(const Database& database) {
  Statement rows(database,
                 "SELECT id, started, utc_offset, score, wrong, carried_over FROM time_attack "
                 "ORDER BY id");
  std::vector<StoredAttack> attacks;
  while (rows.Step()) {
    StoredAttack attack;
    attack.id = rows.Int(0);
    // Only this game writes the file, in its own form; a date edited beyond reading is left
    // at its zero, before every other.
    attack.started = ReadIsoText(rows.Text(1)).value_or(LocalDateTime{});
    if (!rows.IsNull(2)) attack.utc_offset_minutes = static_cast<int>(rows.Int(2));
    attack.score = static_cast<int>(rows.Int(3));
    if (!rows.IsNull(4)) attack.wrong = static_cast<int>(rows.Int(4));
    attack.carried_over = rows.Int(5) != 0;
    attacks.push_back(std::move(attack));
  }
  return attacks;
}

AnswerPress PressAt(const Statement& row, int first) {
  return {static_cast<uint32_t>(row.Int(first)), static_cast<int>(row.Int(first + 1)),
          static_cast<int>(row.Int(first + 2)), static_cast<int>(row.Int(first + 3)),
          row.Int(first + 4) != 0};
}

void ReadChosenPresses(const Database& database, std::vector<StoredAttack>& attacks,
                       const PressChoice& choose) {
  if (!choose) return;
  const std::vector<bool> chosen = choose(attacks);
  Statement presses(database, std::string("SELECT ") + kPressColumns +
                                  " FROM press WHERE time_attack = ? ORDER BY seq");
  for (size_t i = 0; i < attacks.size() && i < chosen.size(); ++i) {
    if (!chosen[i]) continue;
    presses.Bind(1, attacks[i].id);
    while (presses.Step())
      attacks[i].presses.push_back(PressAt(presses, 0));
    presses.Reset();
  }
}

void ReadEveryPress(const Database& database, std::vector<StoredAttack>& attacks) {
  Statement presses(database, std::string("SELECT time_attack, ") + kPressColumns +
                                  " FROM press ORDER BY time_attack, seq");
  auto attack = attacks.begin();
  while (presses.Step()) {
    const int64_t id = presses.Int(0);
    if (attack == attacks.end() || attack->id != id) {
      attack = std::lower_bound(attacks.begin(), attacks.end(), id,
                                [](const StoredAttack& a, int64_t b) { return a.id < b; });
      // A press of no time attack cannot be written; one edited in is left out.
      if (attack == attacks.end() || attack->id != id) continue;
    }
    attack->presses.push_back(PressAt(presses, 1));
  }
}

History Read(const std::function<void(const Database&, std::vector<StoredAttack>&)>& presses) {
  const std::string path = HistoryFilePath();
  try {
    Database database(path, Database::Access::kRead, kHistoryWaitMs);
    // A file begun by a write that did not finish holds nothing yet.
    const int version = SchemaVersion(database);
    if (version == 0) return {true, StandIns()};
    BringUpToDate(database, version);
    Transaction snapshot(database, Transaction::Kind::kRead);
    History history;
    history.attacks = Attacks(database);
    presses(database, history.attacks);
    snapshot.Commit();
    return history;
  } catch (const std::exception& error) {
    const auto* database_error = dynamic_cast<const DatabaseError*>(&error);
    if (database_error && database_error->Failure() == DatabaseFailure::kMissing)
      return {true, StandIns()};
    ReportProblem("cannot read the history " + path + ": " + error.what());
  }
  return {false, {}};
}

}  // namespace

History ReadHistory(const PressChoice& choose) {
  return Read([&](const Database& database, std::vector<StoredAttack>& attacks) {
    ReadChosenPresses(database, attacks, choose);
  });
}

History ReadWholeHistory() {
  return Read(ReadEveryPress);
}
