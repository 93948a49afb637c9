#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/settings_file.h"
#include "platform/testing.h"
#include "tests/files.h"
#include "tests/other_user.h"
#include "tests/scratch_install.h"

namespace {

namespace fs = std::filesystem;

const std::string kOld = "[Data]\nHISCORE1=50,,2024/01/05 09:03:07\n";
const std::string kNew = "[Data]\nHISCORE1=60,,2024/01/06 10:00:00\n";
const auto ToNew = [](const std::optional<std::string>&) { return std::optional(kNew); };
// Tries the lock once: nothing else holds it in these tests.
const LockWait kNoWait = [] { return false; };

SettingsSave Save(const std::string& path, const SettingsEdit& edit = ToNew) {
  return UpdateSettingsFile({path, ""}, edit, kNoWait);
}
SettingsRead Read(const std::string& path) {
  return ReadSettingsFile({path, ""});
}

class SettingsFile : public testing::Test {
 protected:
  void TearDown() override { SetSaveFaultForTesting(nullptr); }
  std::string Path() const { return install_.SettingsFile(); }
  ScratchInstall install_;
};

// Neither are files without write permission: a player's way of keeping the table as it is.
TEST_F(SettingsFile, SpecialOrReadOnlyFilesAreNotReplacedAndNothingBlocks) {
  const std::string path = Path();
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
    SettingsRead read = Read(path);
    EXPECT_EQ(read.status == SettingsRead::Status::kRead, readable);
    EXPECT_EQ(read.reason, readable ? "" : reason);
    SettingsSave save = Save(path);
    EXPECT_EQ(std::tie(save.saved, save.reason), std::tuple(false, reason));
    EXPECT_EQ(fs::symlink_status(path).type(), kind);
    EXPECT_EQ(regular ? Contents(path) : "", before);
    EXPECT_EQ(FileNames(install_.Directory()), std::set<std::string>{"noruka-keisan.ini"});
  }
  EXPECT_FALSE(fs::exists("/dev/zero.lock"));
  EXPECT_TRUE(Save(path, [](auto&) { return std::nullopt; }).saved)
      << "nothing to change in the read-only file, nothing to fail";

  // One limit for reading and writing: a save that reaches 1 MiB is written and read back, one
  // that would go past it is not written, so the table never becomes unreadable.
  fs::remove_all(path);
  Store(path, "[Data]\n;" + std::string(kSettingsFileLimit - 13, 'x') + "\n");
  const auto adding = [](std::string line) {
    return [line](const std::optional<std::string>& text) { return std::optional(*text + line); };
  };
  EXPECT_TRUE(Save(path, adding("a=1\n")).saved);
  EXPECT_EQ(Read(path).text.size(), kSettingsFileLimit) << "1 MiB itself is read";
  SettingsSave past = Save(path, adding("b=2\n"));
  EXPECT_EQ(std::tie(past.saved, past.reason), std::tuple(false, "the file would grow past 1 MiB"));
  EXPECT_EQ(fs::file_size(path), kSettingsFileLimit);
  EXPECT_EQ(FileNames(install_.Directory()),
            (std::set<std::string>{"noruka-keisan.ini", "noruka-keisan.ini.lock"}));
}

TEST_F(SettingsFile, ALinkStaysAndItsTargetIsReplacedKeepingModeOwnerAndGroupButNeverMade) {
  const fs::path shared = install_.Directory() / "shared";
  fs::create_directory(shared);
  const fs::path target = shared / "scores.ini";
  Store(target, kOld);
  ASSERT_EQ(chmod(target.c_str(), 0640), 0);
  ASSERT_EQ(geteuid() == 0 ? chown(target.c_str(), 65534, 65534) : 0, 0);
  struct stat before = {}, after = {};
  ASSERT_EQ(stat(target.c_str(), &before), 0);
  fs::create_symlink("shared/scores.ini", Path());
  EXPECT_TRUE(Save(Path()).saved);
  EXPECT_TRUE(fs::is_symlink(Path()));
  EXPECT_EQ(Contents(target), kNew);
  ASSERT_EQ(stat(target.c_str(), &after), 0);
  EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
            std::tie(before.st_mode, before.st_uid, before.st_gid));
  EXPECT_EQ(FileNames(shared), (std::set<std::string>{"scores.ini", "scores.ini.lock"}))
      << "locked and replaced beside the target";

  // A link that leads nowhere, the player's own too, gets no file or folder made for it: its
  // target may lie on a drive that is not mounted.
  fs::remove(target);
  const std::string nowhere = target.string() + " does not exist, and a link leads there";
  EXPECT_EQ(Read(Path()).reason, nowhere);
  EXPECT_EQ(Save(Path()).reason, nowhere);
  fs::remove(Path());
  fs::create_symlink("shared/gone/scores.ini", Path());
  EXPECT_EQ(Save(Path()).reason, std::strerror(ENOENT));
  EXPECT_EQ(FileNames(shared), std::set<std::string>{"scores.ini.lock"});
}

// Root reads and writes anything, so this is tried as nobody. A folder without write
// permission says so, not that some file is missing.
TEST_F(SettingsFile, AFileOrFolderWithoutPermissionIsAnErrorWithItsOwnReasonAndIsNotOverwritten) {
  fs::permissions(install_.Directory(), fs::perms::all);
  Store(Path(), kOld);
  ASSERT_EQ(chmod(Path().c_str(), 0), 0);
  const fs::path closed = install_.Directory() / "closed";
  fs::create_directory(closed);
  fs::permissions(closed, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  auto as_nobody = [&] {
    if (geteuid() == 0 && (setgroups(0, nullptr) || setgid(65534) || setuid(65534))) _exit(10);
    const std::string denied = std::strerror(EACCES);
    const bool refused = Read(Path()).reason == denied && Save(Path()).reason == denied &&
                         Save((closed / "noruka-keisan.ini").string()).reason == denied;
    _exit(refused ? 0 : 11);
  };
  EXPECT_EXIT(as_nobody(), testing::ExitedWithCode(0), "");
  EXPECT_EQ(Contents(Path()), kOld);
  EXPECT_TRUE(fs::is_empty(closed));
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
    Save(Path());
  };
  for (int step = 0; step <= static_cast<int>(SaveStep::kUnlock); ++step) {
    SCOPED_TRACE("stopped at step " + std::to_string(step));
    fault_at = static_cast<SaveStep>(step);
    const bool renamed = fault_at > SaveStep::kRename;
    Store(Path(), kOld);
    ASSERT_EXIT(killed_save(), testing::KilledBySignal(SIGKILL), "") << "step not reached";
    // The next save edits what the killed one left.
    auto again = [](auto& text) { return std::optional(text.value_or("") + "; again\n"); };
    EXPECT_TRUE(Save(Path(), again).saved);
    EXPECT_EQ(Contents(Path()), (renamed ? kNew : kOld) + "; again\n");
    EXPECT_EQ(FileNames(install_.Directory()), settled) << "the next save tidied up";

    // Tidying up and unlocking are not the save. A failed flush of the directory comes after
    // the rename: the new file is there, but the player is not told it is safe.
    Store(Path(), kOld);
    SetSaveFaultForTesting([](SaveStep at) { return at == fault_at ? ENOSPC : 0; });
    SettingsSave save = Save(Path());
    SetSaveFaultForTesting(nullptr);
    const bool fails = fault_at != SaveStep::kRemoveStale && fault_at != SaveStep::kUnlock;
    EXPECT_EQ(std::tie(save.saved, save.reason), std::tuple(!fails, fails ? strerror(ENOSPC) : ""));
    EXPECT_EQ(Contents(Path()), fails && !renamed ? kOld : kNew);
    EXPECT_EQ(FileNames(install_.Directory()), settled) << "no temporary file left";
  }
}

}  // namespace

// A scratch tree the other users of these tests can walk: a home of the player's, a folder of
// root's and a folder to share.
class SettingsFileOfManyUsers : public SettingsFile {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "acting as several users needs root";
    fs::permissions(install_.Directory(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    for (const fs::path& folder : {home_, etc_, shared_})
      fs::create_directory(folder);
    Own(home_, kPlayer, kPlayersGroup, 0700);
    Store(root_file_, "root only\n");
    Own(root_file_, 0, 0, 0644);
    Restore();
  }
  // The player's notes as they were, and nothing else in the home or the shared folder.
  void Restore() {
    for (const fs::path& folder : {home_, shared_})
      for (const auto& entry : fs::directory_iterator(folder))
        fs::remove_all(entry);
    Store(notes_, "private notes\n");
    Own(notes_, kPlayer, kPlayersGroup, 0600);
  }
  static void Own(const fs::path& path, uid_t uid, gid_t gid, mode_t mode) {
    ASSERT_EQ(lchown(path.c_str(), uid, gid), 0) << path;
    if (!fs::is_symlink(path)) {
      ASSERT_EQ(chmod(path.c_str(), mode), 0) << path;
    }
  }
  static void Plant(const fs::path& link, const fs::path& target, uid_t owner) {
    fs::create_symlink(target, link);
    Own(link, owner, kSharedGroup, 0);
  }
  // Says what went wrong, for the player's part of a test.
  static std::string Expect(const std::string& what, const std::string& got,
                            const std::string& wanted) {
    return got == wanted ? "" : what + ": \"" + got + "\", not \"" + wanted + "\"\n";
  }
  const fs::path home_ = install_.Directory() / "home";
  const fs::path notes_ = home_ / "notes.txt";
  const fs::path etc_ = install_.Directory() / "etc";
  const fs::path root_file_ = etc_ / "root.conf";
  const fs::path shared_ = install_.Directory() / "shared";
  const std::string file_ = (shared_ / "noruka-keisan.ini").string();
};

// A copy of the game in a folder other users may write: a link one of them puts there in place
// of the file or its lock is not followed, neither to read nor to write, nor to make a file
// where it points; one line says which link and why. The player's own link is followed.
TEST_F(SettingsFileOfManyUsers, LinksOfAnotherUserInASharedFolderAreNeitherReadNorWritten) {
  const std::string others = " is a link of another user, in a folder others may write";
  const std::tuple<const char*, mode_t, gid_t> folders[] = {
      {"sticky, everyone may write", 01777, 0}, {"a group may write", 02775, kSharedGroup}};
  const std::pair<std::string, fs::path> links[] = {
      {file_, notes_},
      {file_, home_ / ".config" / "autostart" / "noruka.desktop"},
      {file_, root_file_},
      {file_ + ".lock", notes_},
  };
  for (const auto& [kind, mode, group] : folders) {
    SCOPED_TRACE(kind);
    Own(shared_, 0, group, mode);
    for (const auto& [link, target] : links) {
      SCOPED_TRACE(link + " -> " + target.string());
      Restore();
      Plant(link, target, kOtherUser);
      std::optional<std::string> said = AsPlayer([&, link = link] {
        const bool the_file = link == file_;
        return Expect("read", Read(file_).reason, the_file ? link + others : "") +
               Expect("save", Save(file_).reason, link + others);
      });
      if (!said) GTEST_SKIP() << "cannot act as user " << kPlayer;
      EXPECT_EQ(*said, "");
      EXPECT_EQ(Contents(notes_), "private notes\n");
      EXPECT_EQ(Contents(root_file_), "root only\n");
      EXPECT_EQ(FileNames(home_), std::set<std::string>{"notes.txt"}) << "nothing made there";
      EXPECT_EQ(FileNames(etc_), std::set<std::string>{"root.conf"});
      EXPECT_EQ(FileNames(shared_), std::set<std::string>{fs::path(link).filename()});
    }
  }
  // Root is no exception: it does not follow the other user's link, nor the player's.
  EXPECT_EQ(Save(file_).reason, file_ + ".lock" + others);
  fs::remove(file_ + ".lock");
  const fs::path scores = home_ / "scores.ini";
  Store(scores, kOld);
  Own(scores, kPlayer, kPlayersGroup, 0600);
  Plant(file_, scores, kPlayer);
  EXPECT_EQ(Save(file_).reason, file_ + others);
  const std::string players = (home_ / "noruka-keisan.ini").string();
  Plant(players, "scores.ini", kPlayer);
  EXPECT_EQ(Save(players).reason,
            players + " is a link of another user, in a folder of another user");
  EXPECT_EQ(Contents(scores), kOld);

  std::optional<std::string> said = AsPlayer([&] {
    SettingsSave save = Save(file_);
    return Expect("own link", save.reason, "") + Expect("through it", Contents(scores), kNew);
  });
  EXPECT_EQ(said.value_or(""), "");
  EXPECT_EQ(FileNames(home_), (std::set<std::string>{"noruka-keisan.ini", "notes.txt", "scores.ini",
                                                     "scores.ini.lock"}));
}

// A game run with sudo in the player's folder leaves nothing the player cannot change.
TEST_F(SettingsFileOfManyUsers, RootMakesTheFileAndItsLockForTheOwnerOfTheirFolder) {
  Own(home_, kPlayer, kPlayersGroup, 0755);
  const std::string file = (home_ / "noruka-keisan.ini").string();
  ASSERT_TRUE(Save(file).saved);
  for (const std::string& made : {file, file + ".lock"}) {
    struct stat status {};
    ASSERT_EQ(stat(made.c_str(), &status), 0);
    EXPECT_EQ(std::tie(status.st_uid, status.st_gid), std::tie(kPlayer, kPlayersGroup)) << made;
  }
  std::optional<std::string> said = AsPlayer([&] {
    return Expect("the player's save", Save(file, [](auto& text) { return text; }).reason, "");
  });
  EXPECT_EQ(said.value_or(""), "");
}

std::string AccessList(const fs::path& file) {
  std::string command = "getfacl -n --omit-header -- '" + file.string() + "' 2>&1";
  FILE* out = popen(command.c_str(), "r");
  std::string text;
  char chunk[256];
  for (size_t got; out && (got = fread(chunk, 1, sizeof chunk, out)) > 0;)
    text.append(chunk, got);
  if (out) pclose(out);
  return text;
}

std::string Attribute(const fs::path& file, const char* name) {
  char value[64];
  ssize_t size = getxattr(file.c_str(), name, value, sizeof value);
  return size < 0 ? "" : std::string(value, static_cast<size_t>(size));
}

// The replacement keeps what cp --preserve=all would: an access list, which a plain copy of
// the mode would widen, and other attributes; in a folder whose default list new files take,
// a file without a list stays without. What the player may not set stops the save.
TEST_F(SettingsFileOfManyUsers, AReplacedFileKeepsItsAccessListAndAttributesOrStaysAsItIs) {
  Own(shared_, 0, kSharedGroup, 02775);
  const std::string setfacl =
      "setfacl -d -m u:" + std::to_string(kOtherUser) + ":rwx " + shared_.string() + " 2>/dev/null";
  if (std::system(setfacl.c_str()) != 0) GTEST_SKIP() << "no setfacl (package acl) or no ACLs here";
  const fs::path listed = shared_ / "listed.ini", plain = shared_ / "plain.ini";
  for (const fs::path& file : {listed, plain})
    Store(file, kOld);
  Own(listed, kPlayer, kPlayersGroup, 0640);
  const std::string grant = "setfacl -b -m u:" + std::to_string(kOtherUser) + ":rw '" +
                            listed.string() + "' && setfacl -b '" + plain.string() + "'";
  ASSERT_EQ(std::system(grant.c_str()), 0);
  ASSERT_EQ(setxattr(listed.c_str(), "user.origin", "by hand", 7, 0), 0);
  for (const fs::path& file : {listed, plain}) {
    SCOPED_TRACE(file.filename());
    const std::string list = AccessList(file);
    struct stat before {
    }, after{};
    ASSERT_EQ(stat(file.c_str(), &before), 0);
    EXPECT_TRUE(Save(file).saved);
    ASSERT_EQ(stat(file.c_str(), &after), 0);
    EXPECT_EQ(Contents(file), kNew);
    EXPECT_EQ(AccessList(file), list);
    EXPECT_EQ(std::tie(after.st_mode, after.st_uid, after.st_gid),
              std::tie(before.st_mode, before.st_uid, before.st_gid));
  }
  EXPECT_NE(AccessList(listed).find("user:4242:rw-"), std::string::npos) << AccessList(listed);
  EXPECT_EQ(Attribute(listed, "user.origin"), "by hand");

  // File capabilities, which only root may set, stand for any attribute the player may not.
  const fs::path capable = shared_ / "capable.ini";
  Store(capable, kOld);
  Own(capable, 0, kSharedGroup, 0664);
  const uint32_t no_capabilities[5] = {0x02000000, 0, 0, 0, 0};  // revision 2, none set
  ASSERT_EQ(
      setxattr(capable.c_str(), "security.capability", no_capabilities, sizeof no_capabilities, 0),
      0);
  std::optional<std::string> said = AsPlayer([&] {
    return Expect("save", Save(capable).reason,
                  "cannot keep security.capability: " + std::string(std::strerror(EPERM)));
  });
  EXPECT_EQ(said.value_or(""), "");
  EXPECT_EQ(Contents(capable), kOld);
  EXPECT_EQ(FileNames(shared_),
            (std::set<std::string>{"capable.ini", "capable.ini.lock", "listed.ini",
                                   "listed.ini.lock", "plain.ini", "plain.ini.lock"}));
}
