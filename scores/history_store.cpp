#include "scores/history_store.h"

#include <cstdio>
#include <filesystem>

#include "platform/database.h"
#include "platform/failures.h"
#include "platform/local_time.h"
#include "scores/history_schema.h"
#include "scores/settings.h"

namespace {

void Write(const std::string& path, const AttackRecord& record) {
  Database database(path, Database::Access::kWrite, kHistoryWaitMs);
  Transaction transaction(database);
  UpgradeSchema(database, kHistoryVersion, record.started);
  Statement attack(database,
                   "INSERT INTO time_attack (started, utc_offset, score, wrong) "
                   "VALUES (?, ?, ?, ?)");
  attack.Bind(1, IsoText(record.started))
      .Bind(2, record.utc_offset_minutes)
      .Bind(3, record.score)
      .Bind(4, record.wrong)
      .Step();
  const int64_t id = database.LastInsertId();
  Statement press(database,
                  "INSERT INTO press (time_attack, seq, ms, left_digit, right_digit, typed, "
                  "correct) VALUES (?, ?, ?, ?, ?, ?, ?)");
  int64_t seq = 0;
  for (const AnswerPress& typed : record.presses) {
    press.Bind(1, id)
        .Bind(2, seq++)
        .Bind(3, typed.ms_since_go)
        .Bind(4, typed.left)
        .Bind(5, typed.right)
        .Bind(6, typed.typed)
        .Bind(7, typed.correct ? 1 : 0)
        .Step();
    press.Reset();
  }
  transaction.Commit();
}

// "noruka-keisan.damaged-20240105-090307.db" beside it, numbered on when that is taken.
std::string DamagedName(const std::string& path) {
  std::filesystem::path file(path);
  const LocalDateTime now = LocalDateTimeOf(LocalTimeNow());
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  const std::string base = (file.parent_path() / file.stem()).string() + ".damaged-" + stamp;
  std::string name = base + file.extension().string();
  for (int number = 2; DatabaseFileExists(name); ++number)
    name = base + "-" + std::to_string(number) + file.extension().string();
  return name;
}

// Moves the damaged file aside and begins a new one with the record.
void WriteAfresh(const std::string& path, const AttackRecord& record) {
  const std::string aside = DamagedName(path);
  if (std::string why = MoveDatabaseFile(path, aside); !why.empty()) {
    throw DatabaseError(DatabaseFailure::kOther,
                        "it is damaged and cannot be moved aside to " + aside + ": " + why);
  }
  Write(path, record);
  ReportProblem("the history " + path + " was damaged: it is kept as " + aside +
                ", and a new one has begun");
}

}  // namespace

std::string HistoryFilePath() {
  return std::filesystem::path(SettingsFilePath()).replace_extension(".db").string();
}

bool RecordTimeAttack(const AttackRecord& record) {
  const std::string path = HistoryFilePath();
  if (std::optional<std::string> fault = RecordFault(record)) {
    ReportProblem("a time attack was not recorded in the history: " + *fault);
    return false;
  }
  try {
    try {
      Write(path, record);
    } catch (const DatabaseError& error) {
      if (error.Failure() != DatabaseFailure::kCorrupt) throw;
      // Another copy may have begun a new file meanwhile: only a second look moves it.
      try {
        Write(path, record);
      } catch (const DatabaseError& again) {
        if (again.Failure() != DatabaseFailure::kCorrupt) throw;
        WriteAfresh(path, record);
      }
    }
    return true;
  } catch (const std::exception& error) {
    ReportProblem("cannot record the time attack in " + path + ": " + error.what());
    return false;
  }
}
