#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <regex>
#include <vector>

#include "platform/database.h"
#include "platform/testing.h"
#include "scores/history_read.h"
#include "scores/history_schema.h"
#include "scores/history_store.h"
#include "scores/settings.h"
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

size_t Lines(const std::string& text) {
  return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
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

TEST_F(HistoryFile, KeepsEveryTimeAttackWithItsPressesBesideTheSettingsFile) {
  EXPECT_EQ(Path(), (install_.Directory() / "noruka-keisan.db").string());
  const AttackRecord morning =
      Attack(kMorning, {{812, 3, 4, 7}, {1500, 7, 9, 5}, {1900, 7, 9, 6}}, -300);
  ASSERT_TRUE(RecordTimeAttack(morning));
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));

  const History history = ReadWholeHistory();
  ASSERT_TRUE(history.readable);
  ASSERT_EQ(history.attacks.size(), 2u);
  const StoredAttack& first = history.attacks[0];
  EXPECT_EQ(first.started, kMorning);
  EXPECT_EQ(first.utc_offset_minutes, -300);
  EXPECT_EQ(first.score, 2);
  EXPECT_EQ(first.wrong, 1);
  EXPECT_FALSE(first.carried_over);
  ASSERT_EQ(first.presses.size(), 3u);
  EXPECT_EQ(first.presses[1].ms_since_go, 1500u);
  EXPECT_EQ(std::tie(first.presses[1].left, first.presses[1].right, first.presses[1].typed,
                     first.presses[1].correct),
            std::tuple(7, 9, 5, false));
  EXPECT_EQ(history.attacks[1].presses.size(), 60u);

  // Only the presses asked for are read.
  const History chosen = ReadHistory([](const std::vector<StoredAttack>& attacks) {
    return std::vector<bool>{false, attacks.size() == 2};
  });
  EXPECT_TRUE(chosen.attacks[0].presses.empty());
  EXPECT_EQ(chosen.attacks[1].presses.size(), 60u);

  // An installed copy keeps it in the player's data directory.
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
    bool recorded = true;
    const std::string said = Said([&] { recorded = RecordTimeAttack(record); });
    EXPECT_FALSE(recorded);
    EXPECT_EQ(Lines(said), 1u) << said;
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

// The high scores dated before the history's first time attack come over, once each.
TEST_F(HistoryFile, CarriesTheHighScoresOfTheSettingsFileOverOnce) {
  Store(install_.SettingsFile(),
        "[Data]\nHISCORE1=52,,2024/01/04 21:14:03\nHISCORE2=47,,2024/01/05 09:50:00\n"
        "HISCORE3=39,,2023/12/31 23:59:59\nHISCORE4=39,,2023/12/31 23:59:59\n"
        "HISCORE5=12,,no date\n");
  const History before = ReadHistory(nullptr);
  EXPECT_EQ(Scores(before), (std::vector<int>{52, 47, 39})) << "before any file, as they will be";
  EXPECT_FALSE(fs::exists(Path()));

  ASSERT_TRUE(RecordTimeAttack(Attack(kMorning, {{100, 1, 1, 2}})));
  // 47 was recorded after this first time attack began: it is this one, or a later one.
  ASSERT_TRUE(RecordTimeAttack(Attack(kEvening, {{100, 1, 1, 2}, {200, 2, 1, 3}})));
  const History history = ReadWholeHistory();
  EXPECT_EQ(Scores(history), (std::vector<int>{52, 39, 1, 2}));
  EXPECT_TRUE(history.attacks[0].carried_over && history.attacks[1].carried_over);
  EXPECT_EQ(history.attacks[1].started, (LocalDateTime{2023, 12, 31, 23, 59, 59}));
  EXPECT_FALSE(history.attacks[0].utc_offset_minutes || history.attacks[0].wrong) << "not known";
  EXPECT_TRUE(history.attacks[0].presses.empty());
}

// A file of version 1 (time attacks without the carried-over mark) gains it, keeps its time
// attacks, and takes over the high scores from before its first one.
TEST_F(HistoryFile, AFileOfAnEarlierVersionIsBroughtUpToDate) {
  Store(install_.SettingsFile(),
        "[Data]\nHISCORE1=52,,2024/01/05 09:10:00\nHISCORE2=47,,2024/01/04 08:00:00\n");
  {
    Database database(Path(), Database::Access::kWrite, 0);
    Transaction transaction(database);
    UpgradeSchema(database, 1, kMorning);
    database.Execute(
        "INSERT INTO time_attack (started, utc_offset, score, wrong) "
        "VALUES ('2024-01-05 09:03:07', 540, 1, 0);"
        "INSERT INTO press VALUES (1, 0, 700, 4, 5, 9, 1);");
    transaction.Commit();
    EXPECT_EQ(SchemaVersion(database), 1);
  }
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
  const History history = ReadWholeHistory();
  EXPECT_EQ(Scores(history), (std::vector<int>{1, 47, 60}));
  EXPECT_TRUE(history.attacks[1].carried_over);
  EXPECT_EQ(history.attacks[0].presses.size(), 1u);
  EXPECT_EQ(SchemaVersion(Database(Path(), Database::Access::kRead, 0)), kHistoryVersion);
}

TEST_F(HistoryFile, AFileOfALaterVersionIsLeftAsItIs) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  Database(Path(), Database::Access::kWrite, 0).Execute("PRAGMA user_version = 99");
  const std::string before = Contents(Path());
  bool recorded = true;
  std::string said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kEvening)); });
  EXPECT_FALSE(recorded);
  EXPECT_NE(said.find("later version of the game"), std::string::npos) << said;
  said = Said([] { EXPECT_FALSE(ReadWholeHistory().readable); });
  EXPECT_EQ(Lines(said), 1u) << said;
  EXPECT_EQ(Contents(Path()), before);
}

// Damage in the header, and in the pages of the time attacks.
TEST_F(HistoryFile, ADamagedFileIsMovedAsideUnderADatedNameAndANewOneBegun) {
  const std::string garbage = "these bytes are no database, and they stay as they are";
  Store(Path(), garbage);
  bool recorded = false;
  std::string said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kMorning)); });
  EXPECT_TRUE(recorded);
  EXPECT_EQ(Lines(said), 1u) << said;
  std::vector<fs::path> aside;
  for (const auto& entry : fs::directory_iterator(install_.Directory())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("noruka-keisan.damaged-")) aside.push_back(entry.path());
  }
  ASSERT_EQ(aside.size(), 1u);
  EXPECT_TRUE(std::regex_match(aside[0].filename().string(),
                               std::regex(R"(noruka-keisan\.damaged-\d{8}-\d{6}\.db)")));
  EXPECT_NE(said.find(aside[0].string()), std::string::npos) << said;
  EXPECT_EQ(Contents(aside[0]), garbage);
  EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});

  // The first page of the time attacks' table, overwritten.
  {
    Database database(Path(), Database::Access::kRead, 0);
    Statement root(database, "SELECT rootpage FROM sqlite_schema WHERE name = 'time_attack'");
    root.Step();
    std::string bytes = Contents(Path());
    const size_t page = static_cast<size_t>(root.Int(0) - 1) * 4096;
    ASSERT_LT(page + 4096, bytes.size() + 1);
    std::fill(bytes.begin() + static_cast<long>(page),
              bytes.begin() + static_cast<long>(page) + 100, '\xA5');
    Store(Path(), bytes);
  }
  said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kEvening)); });
  EXPECT_TRUE(recorded) << said;
  EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});
  EXPECT_EQ(IntegrityOf(Path()), "ok");
}

TEST_F(HistoryFile, AFullDiskOrAFolderThatCannotBeWrittenLosesOnlyThisRecord) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  const std::vector<std::tuple<const char*, int (*)(DatabaseStep)>> faults = {
      {"full disk", [](DatabaseStep step) { return step == DatabaseStep::kWrite ? ENOSPC : 0; }},
      {"no journal in a read-only folder",
       [](DatabaseStep step) { return step == DatabaseStep::kOpen ? EACCES : 0; }},
      {"failed flush", [](DatabaseStep step) { return step == DatabaseStep::kSync ? EIO : 0; }},
  };
  for (const auto& [what, fault] : faults) {
    SCOPED_TRACE(what);
    SetDatabaseFaultForTesting(fault);
    bool recorded = true;
    const std::string said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kEvening)); });
    SetDatabaseFaultForTesting(nullptr);
    EXPECT_FALSE(recorded);
    EXPECT_EQ(Lines(said), 1u) << said;
    EXPECT_NE(said.find("cannot record the time attack in " + Path()), std::string::npos) << said;
    EXPECT_EQ(IntegrityOf(Path()), "ok");
    EXPECT_EQ(Scores(ReadWholeHistory()), std::vector<int>{60});
  }
  EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
}

// As a player without write permission: root writes anywhere.
TEST_F(HistoryFile, AReadOnlyFolderIsStillReadAndTheWriteFailsInOneLine) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  fs::permissions(install_.Directory(), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
  fs::permissions(Path(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  pid_t reader = fork();
  ASSERT_GE(reader, 0);
  if (reader == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    testing::internal::CaptureStderr();
    const bool recorded = RecordTimeAttack(SteadyAttack(kEvening));
    const std::string said = testing::internal::GetCapturedStderr();
    const History history = ReadWholeHistory();
    _exit(recorded            ? 11
          : Lines(said) != 1  ? 12
          : !history.readable ? 13
                              : static_cast<int>(history.attacks.size()));
  }
  int status = -1;
  waitpid(reader, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1) << "one time attack read, none written";
}

TEST_F(HistoryFile, ALockHeldTooLongByAnotherCopyLosesOnlyThisRecord) {
  ASSERT_TRUE(RecordTimeAttack(SteadyAttack(kMorning)));
  {
    Database other(Path(), Database::Access::kWrite, 0);
    other.Execute("BEGIN EXCLUSIVE");
    bool recorded = true;
    const std::string said = Said([&] { recorded = RecordTimeAttack(SteadyAttack(kEvening)); });
    EXPECT_FALSE(recorded);
    EXPECT_EQ(Lines(said), 1u) << said;
    EXPECT_NE(said.find("locked"), std::string::npos) << said;
    other.Execute("COMMIT");
  }
  EXPECT_TRUE(RecordTimeAttack(SteadyAttack(kEvening)));
  EXPECT_EQ(Scores(ReadWholeHistory()), (std::vector<int>{60, 60}));
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
      pid_t writer = fork();
      ASSERT_GE(writer, 0);
      if (writer == 0) {
        steps_until_kill = step;
        SetDatabaseFaultForTesting(KillAtStep);
        _exit(RecordTimeAttack(SteadyAttack(kEvening, 40)) ? 0 : 1);
      }
      int status = -1;
      waitpid(writer, &status, 0);
      ASSERT_TRUE(WIFEXITED(status));
      if (WEXITSTATUS(status) == 0) break;  // no step left to kill it at
      ASSERT_EQ(WEXITSTATUS(status), 9) << "step " << step;
      if (DatabaseFileExists(Path()) && fs::file_size(Path()) > 0) {
        ASSERT_EQ(IntegrityOf(Path()), "ok") << "step " << step;
      }
      const History history = ReadWholeHistory();
      ASSERT_TRUE(history.readable) << "step " << step;
      ASSERT_EQ(history.attacks.size(), before) << "step " << step;
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
  constexpr int kCopies = 4;
  for (int round = 0; round < 20; ++round) {
    if (round % 2 == 0) fs::remove(Path());
    const std::vector<int> statuses = RunCopiesAtOnce(kCopies, [](int copy) {
      return RecordTimeAttack(SteadyAttack(kEvening, 10 + copy)) ? 0 : 1;
    });
    for (int status : statuses)
      EXPECT_EQ(status, 0) << "round " << round;
    std::vector<int> scores = Scores(ReadWholeHistory());
    std::sort(scores.begin(), scores.end());
    std::vector<int> expected;
    for (int copy = 0; copy < kCopies; ++copy)
      expected.insert(expected.end(), round % 2 + 1, 10 + copy);
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(scores, expected) << "round " << round;
  }
}

}  // namespace
