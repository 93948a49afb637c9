#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/settings_file.h"
#include "platform/testing.h"
#include "tests/files.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

const std::string kOld = "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\n";
const std::string kNew = "[Data]\nHISCORE1=60,,2024/01/06 10:00:00\n";
const auto ToNew = [](const std::optional<std::string>&) { return std::optional(kNew); };

class SettingsFile : public testing::Test {
 protected:
  void TearDown() override { SetSaveFaultForTesting(nullptr); }
  fs::path Path() const { return install_.SettingsFile(); }
  ScratchInstall install_;
};

// Neither are files without write permission: a player's way of keeping the table as it is.
TEST_F(SettingsFile, SpecialOrReadOnlyFilesAreNotReplacedAndNothingBlocks) {
  const fs::path path = Path();
  // What, how it is made, why it is not replaced, and whether it is read.
  const std::tuple<const char*, std::function<void()>, const char*, bool> cases[] = {
      {"directory", [&] { fs::create_directory(path); }, "Is a directory", false},
      {"FIFO", [&] { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }, "not a regular file", false},
      {"link to a device", [&] { fs::create_symlink("/dev/zero", path); }, "not a regular file",
       false},
      {"file over 1 MiB", [&] { Store(path, "[Data]\n;" + std::string(1 << 20, 'x') + "\n"); },
       "larger than 1 MiB", false},
      {"read-only file, even for root", [&] { Store(path, kOld), chmod(path.c_str(), 0444); },
       "the file is read-only", true},
  };
  for (const auto& [what, make, reason, readable] : cases) {
    SCOPED_TRACE(what);
    fs::remove_all(path);
    make();
    const auto kind = fs::symlink_status(path).type();
    const bool regular = kind == fs::file_type::regular;
    const std::string before = regular ? Contents(path) : "";
    SettingsRead read = ReadSettingsFile(path);
    EXPECT_EQ(read.status == SettingsRead::Status::kRead, readable);
    EXPECT_EQ(read.reason, readable ? "" : reason);
    SettingsSave save = UpdateSettingsFile(path, ToNew);
    EXPECT_EQ(std::tie(save.saved, save.reason), std::tuple(false, reason));
    EXPECT_EQ(fs::symlink_status(path).type(), kind);
    EXPECT_EQ(regular ? Contents(path) : "", before);
    EXPECT_EQ(FileNames(install_.Directory()), std::set<std::string>{"noruka-keisan.ini"});
  }
  EXPECT_FALSE(fs::exists("/dev/zero.lock"));
  EXPECT_TRUE(UpdateSettingsFile(path, [](auto&) { return std::nullopt; }).saved)
      << "nothing to change in the read-only file, nothing to fail";

  fs::remove_all(path);
  Store(path, "[Data]\n;" + std::string((1 << 20) - 9, 'x') + "\n");
  EXPECT_EQ(ReadSettingsFile(path).text.size(), 1u << 20) << "1 MiB itself is read";
}

TEST_F(SettingsFile, ALinkStaysAndItsTargetIsReplacedKeepingModeOwnerAndGroup) {
  const fs::path shared = install_.Directory() / "shared";
  fs::create_directory(shared);
  const fs::path target = shared / "scores.ini";
  Store(target, kOld);
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(geteuid() == 0 ? chown(target.c_str(), 65534, 65534) : 0, 0);
  struct stat before = {}, after = {};
  ASSERT_EQ(stat(target.c_str(), &before), 0);
  fs::create_symlink("shared/scores.ini", Path());
  EXPECT_TRUE(UpdateSettingsFile(Path(), ToNew).saved);
  EXPECT_TRUE(fs::is_symlink(Path()));
  EXPECT_EQ(Contents(target), kNew);
  ASSERT_EQ(stat(target.c_str(), &after), 0);
  EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
            std::tie(before.st_mode, before.st_uid, before.st_gid));
  EXPECT_EQ(FileNames(shared), (std::set<std::string>{"scores.ini", "scores.ini.lock"}))
      << "locked and replaced beside the target";
}

// Root reads any file, so the unreadable file is tried as nobody.
TEST_F(SettingsFile, AFileThatCannotBeReadIsAnErrorAndIsNotOverwritten) {
  fs::permissions(install_.Directory(), fs::perms::all);
  Store(Path(), kOld);
  ASSERT_EQ(chmod(Path().c_str(), 0), 0);
  auto as_nobody = [this] {
    if (geteuid() == 0 && (setgroups(0, nullptr) || setgid(65534) || setuid(65534))) _exit(10);
    const std::string denied = std::strerror(EACCES);
    const bool refused = ReadSettingsFile(Path()).reason == denied &&
                         UpdateSettingsFile(Path(), ToNew).reason == denied;
    _exit(refused ? 0 : 11);
  };
  EXPECT_EXIT(as_nobody(), testing::ExitedWithCode(0), "");
  EXPECT_EQ(Contents(Path()), kOld);
}

SaveStep fault_at;

TEST_F(SettingsFile, ASaveStoppedAtAnyStepLeavesTheOldOrTheNewFileAndNoTemporaryOne) {
  // The player's own files, some named nearly as temporary ones are, are never put away.
  std::set<std::string> settled = {"noruka-keisan.ini.backup", "noruka-keisan.ini.tmp-abc12",
                                   "noruka-keisan.ini.tmp-abc1234", "other.ini.tmp-Abc123",
                                   "noruka-keisan.ini.tmp-ab-123"};
  for (const std::string& name : settled)
    Store(install_.Directory() / name, "keep");
  settled.insert({"noruka-keisan.ini", "noruka-keisan.ini.lock"});
  auto killed_save = [this] {
    SetSaveFaultForTesting([](SaveStep at) { return at == fault_at ? raise(SIGKILL) : 0; });
    UpdateSettingsFile(Path(), ToNew);
  };
  for (int step = 0; step <= static_cast<int>(SaveStep::kUnlock); ++step) {
    SCOPED_TRACE("stopped at step " + std::to_string(step));
    fault_at = static_cast<SaveStep>(step);
    const bool renamed = fault_at > SaveStep::kRename;
    Store(Path(), kOld);
    ASSERT_EXIT(killed_save(), testing::KilledBySignal(SIGKILL), "") << "step not reached";
    // The next save edits what the killed one left.
    auto again = [](auto& text) { return std::optional(text.value_or("") + "; again\n"); };
    EXPECT_TRUE(UpdateSettingsFile(Path(), again).saved);
    EXPECT_EQ(Contents(Path()), (renamed ? kNew : kOld) + "; again\n");
    EXPECT_EQ(FileNames(install_.Directory()), settled) << "the next save tidied up";

    // Tidying up and unlocking are not the save. A failed flush of the directory comes after
    // the rename: the new file is there, but the player is not told it is safe.
    Store(Path(), kOld);
    SetSaveFaultForTesting([](SaveStep at) { return at == fault_at ? ENOSPC : 0; });
    SettingsSave save = UpdateSettingsFile(Path(), ToNew);
    SetSaveFaultForTesting(nullptr);
    const bool fails = fault_at != SaveStep::kRemoveStale && fault_at != SaveStep::kUnlock;
    EXPECT_EQ(std::tie(save.saved, save.reason), std::tuple(!fails, fails ? strerror(ENOSPC) : ""));
    EXPECT_EQ(Contents(Path()), fails && !renamed ? kOld : kNew);
    EXPECT_EQ(FileNames(install_.Directory()), settled) << "no temporary file left";
  }
}

}  // namespace
