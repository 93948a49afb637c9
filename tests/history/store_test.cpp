#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/database.h"
#include "platform/testing.h"
#include "scores/history_read.h"
#include "scores/history_schema.h"
#include "scores/history_store.h"
#include "tests/copies_at_once.h"
#include "tests/files.h"
#include "tests/history/attacks.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

const LocalDateTime kMorning{2024, 1, 5, 9, 3, 7};
const LocalDateTime kEvening{2024, 1, 5, 21, 40, 0};

std::vector<int> Scores(const History& history) {
  std::vector<int> scores;
  for (const StoredAttack& attack : history.attacks)
    scores.push_back(attack.score);
  return scores;
}

// The lines a call says on standard error.
template <typename Call>
std::string Said(Call call) {
  testing::internal::CaptureStderr();
  call();
  return testing::internal::GetCapturedStderr();
}

bool OneLine(const std::string& said, const std::string& saying = "") {
  return std::count(said.begin(), said.end(), '\n') == 1 && said.find(saying) != std::string::npos;
}

// A time attack that is not stored costs one line on standard error, and nothing else.
testing::AssertionResult NotRecorded(const AttackRecord& record, const std::string& saying = "") {
  bool recorded = true;
  const std::string said = Said([&] { recorded = RecordTimeAttack(record); });
  if (!recorded && OneLine(said, saying)) return testing::AssertionSuccess();
  return testing::AssertionFailure() << (recorded ? "recorded; " : "") << "said: " << said;
}

std::string IntegrityOf(const std::string& path) {
  Database database(path, Database::Access::kRead, 0);
  Statement check(database, "PRAGMA integrity_check");
  check.Step();
  return check.Text(0);
}

class HistoryFile : public testing::Test {
 protected:
  void TearDown() override { SetDatabaseFaultForTesting(nullptr); }
  std::string Path() const { return HistoryFilePath(); }
  ScratchInstall install_;
};

// Every field's way into the file and back is the exports' to prove (CommandLine.Answers...).
TEST_F(HistoryFile, LiesBesideTheSettingsFileAndAReadBringsOnlyThePressesAskedFor) {
  EXPECT_EQ(Path(), (install_.Directory() / "noruka-keisan.db").string());
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kEvening, 30)));
  const History chosen = ReadHistory([](const std::vector<StoredAttack>& attacks) {
    return std::vector<bool>{false, attacks.size() == 2};
  });
  ASSERT_EQ(chosen.attacks.size(), 2u);
  EXPECT_TRUE(chosen.attacks[0].presses.empty());
  EXPECT_EQ(chosen.attacks[1].presses.size(), 30u);

  // An installed copy keeps it in the player's data directory, made for the player alone.
  const fs::path data = install_.Directory() / "data";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  App::OverridePath("/usr/games/noruka-keisan", true);
  EXPECT_EQ(Path(), (data / "noruka-keisan" / "noruka-keisan.db").string());
  EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
  EXPECT_EQ(fs::status(data / "noruka-keisan").permissions(), fs::perms::owner_all);
  unsetenv("XDG_DATA_HOME");
}

// The record type holds ints; what reaches the file is a digit typed during play, or nothing.
TEST_F(HistoryFile, RefusesAnythingButDigitsTypedDuringPlay) {
  const std::vector<std::pair<const char*, std::function<void(AttackRecord&)>>> faults = {
      {"a typed 10", [](AttackRecord& r) { r.presses[0].typed = 10; }},
      {"a left -1", [](AttackRecord& r) { r.presses[0].left = -1; }},
      {"a right 12", [](AttackRecord& r) { r.presses[1].right = 12; }},
      {"a key after play", [](AttackRecord& r) { r.presses[1].ms_since_go = kPlayMs + 1; }},
      {"presses out of order", [](AttackRecord& r) { r.presses[0].ms_since_go = 1200; }},
      {"a correct press marked wrong", [](AttackRecord& r) { r.presses[0].correct = false; }},
      {"a score not its presses'", [](AttackRecord& r) { ++r.score; }},
      {"wrong presses not its presses'", [](AttackRecord& r) { r.wrong = 5; }},
      {"no real start", [](AttackRecord& r) { r.started.day = 32; }},
      {"an offset of a day", [](AttackRecord& r) { r.utc_offset_minutes = 24 * 60; }},
  };
  for (const auto& [what, spoil] : faults) {
    SCOPED_TRACE(what);
    AttackRecord record = Attack(kMorning, {{1000, 1, 2, 3}, {1100, 4, 4, 8}});
    spoil(record);
    EXPECT_TRUE(NotRecorded(record, "a time attack was not recorded in the history: "));
    EXPECT_FALSE(fs::exists(Path()));
  }
  EXPECT_TRUE(RecordTimeAttack(Attack(kMorning, {{kPlayMs, 1, 2, 3}, {kPlayMs, 1, 2, 4}})))
      << "the end of play itself, twice";

  // The file itself takes nothing else, whoever writes it.
  Database database(Path(), Database::Access::kWrite, 0);
  EXPECT_THROW(database.Execute("INSERT INTO press VALUES (1, 9, 100, 1, 2, 13, 0)"),
               DatabaseError);
  EXPECT_THROW(database.Execute("INSERT INTO press VALUES (1, 9, 100, 1, 2, 4, 1)"), DatabaseError);
}

// A file of version 1 had no mark for the high scores from before it: brought up to date, it keeps
// its time attacks and takes over those dated before its first. (Into a new file, they come over
// as the exports show: CommandLine.AnswersWithoutADisplayAndLeavesTheHistoryAsItIs.)
TEST_F(HistoryFile, AFileOfAnEarlierVersionIsBroughtUpToDateAndTakesTheHighScoresOver) {
  Store(install_.SettingsFile(),
        "[Data]\nHISCORE1=52,,2024/01/05 09:10:00\nHISCORE2=47,,2024/01/04 08:00:00\n");
  EXPECT_EQ(Scores(ReadHistory(nullptr)), (std::vector<int>{52, 47})) << "before any file";
  {
    Database database(Path(), Database::Access::kWrite, 0);
    Transaction transaction(database);
    UpgradeSchema(database, 1, kMorning);
    database.Execute(
        "INSERT INTO time_attack (started, utc_offset, score, wrong) "
        "VALUES ('2024-01-05 09:03:07', 540, 1, 0);"
        "INSERT INTO press VALUES (1, 0, 700, 4, 5, 9, 1);");
    transaction.Commit();
  }
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
  const History history = ReadWholeHistory();
  EXPECT_EQ(Scores(history), (std::vector<int>{1, 47, 60}));
  EXPECT_TRUE(history.attacks[1].carried_over);
  EXPECT_EQ(history.attacks[0].presses.size(), 1u);
  EXPECT_EQ(SchemaVersion(Database(Path(), Database::Access::kRead, 0)), kHistoryVersion);
}

// Damage in the header, and in the pages of the time attacks.
TEST_F(HistoryFile, ADamagedFileIsMovedAsideUnderADatedNameAndANewOneBegun) {
  const std::string garbage = "these bytes are no database, and they stay as they are";
  Store(Path(), garbage);
  bool recorded = false;
  const std::string said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kMorning)); });
  EXPECT_TRUE(recorded);
  std::vector<std::string> aside;
  for (const std::string& name : FileNames(install_.Directory()))
    if (name.starts_with("noruka-keisan.damaged-")) aside.push_back(name);
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_TRUE(std::regex_match(aside[0], std::regex(R"(noruka-keisan\.damaged-\d{8}-\d{6}\.db)")));
  EXPECT_TRUE(OneLine(said, (install_.Directory() / aside[0]).string())) << said;
  EXPECT_EQ(Contents(install_.Directory() / aside[0]), garbage);
  EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});

  // The first page of the time attacks' table, overwritten.
  const auto page = [&] {
    Database database(Path(), Database::Access::kRead, 0);
    Statement root(database, "SELECT rootpage FROM sqlite_schema WHERE name = 'time_attack'");
    root.Step();
    return static_cast<size_t>(root.Int(0) - 1) * 4096;
  }();
  std::string bytes = Contents(Path());
  ASSERT_LE(page + 4096, bytes.size());
  Store(Path(), bytes.replace(page, 100, 100, '\xA5'));
  EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
  EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});
  EXPECT_EQ(IntegrityOf(Path()), "ok");
}

// A full disk, a journal that cannot be made, a failed flush, a lock another copy holds too long:
// the file keeps what it held, whole, and takes the next time attack.
TEST_F(HistoryFile, AWriteThatFailsLosesOnlyThisRecordAndSaysWhyInOneLine) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  const std::string cannot = "cannot record the time attack in " + Path() + ": ";
  auto kept = [&] {
    EXPECT_EQ(IntegrityOf(Path()), "ok");
    EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});
  };
  const std::vector<std::tuple<const char*, int (*)(DatabaseStep)>> faults = {
      {"full disk", [](DatabaseStep step) { return step == DatabaseStep::kWrite ? ENOSPC : 0; }},
      {"no journal in a read-only folder",
       [](DatabaseStep step) { return step == DatabaseStep::kOpen ? EACCES : 0; }},
      {"failed flush", [](DatabaseStep step) { return step == DatabaseStep::kSync ? EIO : 0; }},
  };
  for (const auto& [what, fault] : faults) {
    SCOPED_TRACE(what);
    SetDatabaseFaultForTesting(fault);
    EXPECT_TRUE(NotRecorded(SteadyAttack(kEvening), cannot));
    SetDatabaseFaultForTesting(nullptr);
    kept();
  }
  {
    SCOPED_TRACE("a lock held too long by another copy");
    Database other(Path(), Database::Access::kWrite, 0);
    other.Execute("BEGIN EXCLUSIVE");
    EXPECT_TRUE(NotRecorded(SteadyAttack(kEvening), cannot + "database is locked"));
    other.Execute("COMMIT");
    kept();
  }
  EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));

  // Nor is a file of a later version of the game written, or read.
  Database(Path(), Database::Access::kWrite, 0).Execute("PRAGMA user_version = 99");
  const std::string later = Contents(Path());
  EXPECT_TRUE(NotRecorded(SteadyAttack(kEvening), cannot + "it was written by a later version"));
  const std::string said = Said([] { EXPECT_FALSE(ReadWholeHistory().readable); });
  EXPECT_TRUE(OneLine(said, "later version")) << said;
  EXPECT_EQ(Contents(Path()), later);
}

// As a player without write permission: root writes anywhere.
TEST_F(HistoryFile, AReadOnlyFolderIsStillReadAndTheWriteFailsInOneLine) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  fs::permissions(install_.Directory(), static_cast<fs::perms>(0755));
  fs::permissions(Path(), static_cast<fs::perms>(0444));
  const int status = RunCopiesAtOnce(1, [](int) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
    if (!NotRecorded(SteadyAttack(kEvening))) return 11;
    const History history = ReadWholeHistory();
    return history.readable ? static_cast<int>(history.attacks.size()) : 12;
  })[0];
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "one time attack read, none written";
}

// The child is killed at the given file-system step of its write: everything it wrote before
// stays on the disk, nothing after.
int steps_until_kill = 0;
int KillAtStep(DatabaseStep) {
  if (--steps_until_kill == 0) _exit(9);
  return 0;
}

TEST_F(HistoryFile, AKillAtEveryStepOfAWriteLeavesTheFileWholeAndUsable) {
  for (bool first_write : {true, false}) {
    SCOPED_TRACE(first_write ? "the write that makes the file" : "a later write");
    fs::remove(Path());
    if (!first_write) {
      ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
    }
    const size_t before = first_write ? 0 : 1;
    int step = 1;
    for (;; ++step) {
      SCOPED_TRACE(step);
      const int status = RunCopiesAtOnce(1, [step](int) {
        steps_until_kill = step;
        SetDatabaseFaultForTesting(KillAtStep);
        return RecordTimeAttack(SteadyAttack(kEvening, 40)) ? 0 : 1;
      })[0];
      ASSERT_TRUE(WIFEXITED(status));
      if (WEXITSTATUS(status) == 0) break;  // no step left to kill it at
      ASSERT_EQ(WEXITSTATUS(status), 9);
      if (DatabaseFileExists(Path()) && fs::file_size(Path()) > 0) {
        ASSERT_EQ(IntegrityOf(Path()), "ok");
      }
      const History history = ReadWholeHistory();
      ASSERT_TRUE(history.readable);
      ASSERT_EQ(history.attacks.size(), before);
    }
    EXPECT_GT(step, 10) << "steps of the write";
    const History history = ReadWholeHistory();
    ASSERT_EQ(history.attacks.size(), before + 1);
    EXPECT_EQ(history.attacks.back().presses.size(), 40u);
    EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening))) << "usable afterwards";
  }
}

// Rounds of copies that finish their time attacks at the same moment, the first round of each
// pair making the file.
TEST_F(HistoryFile, CopiesRecordingAtTheSameMomentKeepEveryTimeAttack) {
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(round);
    if (round % 2 == 0) fs::remove(Path());
    const std::vector<int> statuses = RunCopiesAtOnce(
        4, [](int copy) { return RecordTimeAttack(SteadyAttack(kEvening, 10 + copy)) ? 0 : 1; });
    EXPECT_EQ(statuses, std::vector<int>(4, 0));
    std::vector<int> scores = Scores(ReadWholeHistory());
    std::sort(scores.begin(), scores.end());
    const std::vector<int> once = {10, 11, 12, 13}, twice = {10, 10, 11, 11, 12, 12, 13, 13};
    ASSERT_EQ(scores, round % 2 ? twice : once);
  }
}

}  // namespace
