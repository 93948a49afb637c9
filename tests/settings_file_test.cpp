#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <tuple>

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

std::tuple<mode_t, uid_t, gid_t> Ownership(const fs::path& file) {
  struct stat status {};
  EXPECT_EQ(stat(file.c_str(), &status), 0) << file;
  return {status.st_mode, status.st_uid, status.st_gid};
}

// The extended attributes, an access control list among them.
std::map<std::string, std::string> Attributes(const fs::path& file) {
  std::map<std::string, std::string> attributes;
  char names[1024], value[1024];
  const ssize_t size = listxattr(file.c_str(), names, sizeof names);
  for (ssize_t at = 0; at < size; at += static_cast<ssize_t>(std::strlen(names + at)) + 1) {
    const ssize_t got = getxattr(file.c_str(), names + at, value, sizeof value);
    attributes[names + at] = got < 0 ? "?" : std::string(value, static_cast<size_t>(got));
  }
  return attributes;
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
  ASSERT_EQ(geteuid() == 0 ? chown(target.c_str(), kNobody, kNobody) : 0, 0);
  const auto before = Ownership(target);
  fs::create_symlink("shared/scores.ini", Path());
  EXPECT_TRUE(Save(Path()).saved);
  EXPECT_TRUE(fs::is_symlink(Path()));
  EXPECT_EQ(Contents(target), kNew);
  EXPECT_EQ(Ownership(target), before);
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
  const std::string denied = std::strerror(EACCES);
  auto refused = [&] {
    return Expect("read", Read(Path()).reason, denied) +
           Expect("save", Save(Path()).reason, denied) +
           Expect("save in the folder", Save((closed / "noruka-keisan.ini").string()).reason,
                  denied);
  };
  EXPECT_EXIT(ExitAs(kNobody, kNobody, {}, refused), testing::ExitedWithCode(0), "");
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
  const fs::path home_ = install_.Directory() / "home";
  const fs::path notes_ = home_ / "notes.txt";
  const fs::path etc_ = install_.Directory() / "etc";
  const fs::path root_file_ = etc_ / "root.conf";
  const fs::path shared_ = install_.Directory() / "shared";
  const std::string file_ = (shared_ / "noruka-keisan.ini").string();
};

// A copy of the game in a folder other users may write: a link one of them puts there in place
// of the file or its lock is not followed, neither to read nor to write, nor to make a file
// where it points, by the player or by root; one line says which link and why.
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
    Own(shared_, 0, group, mode);
    for (const auto& [link, target] : links) {
      SCOPED_TRACE(kind + (": " + link) + " -> " + target.string());
      Restore();
      Plant(link, target, kOtherUser);
      const std::string refused = link + others, unread = link == file_ ? refused : "";
      auto refuses = [&] {
        return Expect("read", Read(file_).reason, unread) +
               Expect("save", Save(file_).reason, refused);
      };
      EXPECT_EXIT(ExitAsPlayer(refuses), testing::ExitedWithCode(0), "");
      EXPECT_EQ(refuses(), "") << "as root";
      EXPECT_EQ(Contents(notes_), "private notes\n");
      EXPECT_EQ(Contents(root_file_), "root only\n");
      EXPECT_EQ(FileNames(home_), std::set<std::string>{"notes.txt"}) << "nothing made there";
      EXPECT_EQ(FileNames(etc_), std::set<std::string>{"root.conf"});
      EXPECT_EQ(FileNames(shared_), std::set<std::string>{fs::path(link).filename()});
    }
  }
  // The player's own link is the player's to follow, but root follows none of the player's:
  // neither in the shared folder nor in the player's home.
  Restore();
  const fs::path scores = home_ / "scores.ini";
  Store(scores, kOld);
  Own(scores, kPlayer, kPlayersGroup, 0600);
  Plant(file_, scores, kPlayer);
  const std::string players = (home_ / "noruka-keisan.ini").string();
  Plant(players, "scores.ini", kPlayer);
  EXPECT_EQ(Save(file_).reason, file_ + others);
  EXPECT_EQ(Save(players).reason,
            players + " is a link of another user, in a folder of another user");
  EXPECT_EQ(Contents(scores), kOld);
  auto follows = [&] {
    const std::string reason = Save(file_).reason;
    return Expect("save", reason, "") + Expect("through the link", Contents(scores), kNew);
  };
  EXPECT_EXIT(ExitAsPlayer(follows), testing::ExitedWithCode(0), "");
  EXPECT_EQ(FileNames(home_), (std::set<std::string>{"noruka-keisan.ini", "notes.txt", "scores.ini",
                                                     "scores.ini.lock"}));
}

// A game run with sudo in the player's folder leaves nothing the player cannot change.
TEST_F(SettingsFileOfManyUsers, RootMakesTheFileAndItsLockForTheOwnerOfTheirFolder) {
  Own(home_, kPlayer, kPlayersGroup, 0755);
  const std::string file = (home_ / "noruka-keisan.ini").string();
  ASSERT_TRUE(Save(file).saved);
  for (const std::string& made : {file, file + ".lock"}) {
    const auto [mode, uid, gid] = Ownership(made);
    EXPECT_EQ(std::tuple(uid, gid), std::tuple(kPlayer, kPlayersGroup)) << made;
  }
  auto saves = [&] { return Save(file, [](auto& text) { return text; }).reason; };
  EXPECT_EXIT(ExitAsPlayer(saves), testing::ExitedWithCode(0), "");
}

// The replacement keeps what cp --preserve=all would: an access list, which a plain copy of
// the mode would widen, and other attributes; in a folder whose default list new files take,
// a file without a list stays without. What the player may not set stops the save.
TEST_F(SettingsFileOfManyUsers, AReplacedFileKeepsItsAccessListAndAttributesOrStaysAsItIs) {
  Own(shared_, 0, kSharedGroup, 02775);
  const fs::path listed = shared_ / "listed.ini", plain = shared_ / "plain.ini";
  for (const fs::path& file : {listed, plain})
    Store(file, kOld);
  Own(listed, kPlayer, kPlayersGroup, 0640);
  // New files in the folder take its default list; only listed.ini has a list of its own.
  const std::string user = "u:" + std::to_string(kOtherUser);
  const std::string setfacl = "setfacl -d -m " + user + ":rwx " + shared_.string() +
                              " && setfacl -m " + user + ":rw " + listed.string() + " 2>/dev/null";
  if (std::system(setfacl.c_str()) != 0) GTEST_SKIP() << "no setfacl (package acl) or no ACLs here";
  ASSERT_EQ(setxattr(listed.c_str(), "user.origin", "by hand", 7, 0), 0);
  ASSERT_EQ(Attributes(listed).count("system.posix_acl_access"), 1u);
  for (const fs::path& file : {listed, plain}) {
    SCOPED_TRACE(file.filename());
    const auto attributes = Attributes(file);
    const auto ownership = Ownership(file);
    EXPECT_TRUE(Save(file).saved);
    EXPECT_EQ(Contents(file), kNew);
    EXPECT_EQ(Attributes(file), attributes);
    EXPECT_EQ(Ownership(file), ownership);
  }

  // File capabilities, which only root may set, stand for any attribute the player may not.
  const fs::path capable = shared_ / "capable.ini";
  Store(capable, kOld);
  Own(capable, 0, kSharedGroup, 0664);
  const uint32_t no_capabilities[5] = {0x02000000, 0, 0, 0, 0};  // revision 2, none set
  ASSERT_EQ(
      setxattr(capable.c_str(), "security.capability", no_capabilities, sizeof no_capabilities, 0),
      0);
  auto kept = [&] {
    return Expect("save", Save(capable).reason,
                  "cannot keep security.capability: " + std::string(std::strerror(EPERM)));
  };
  EXPECT_EXIT(ExitAsPlayer(kept), testing::ExitedWithCode(0), "");
  EXPECT_EQ(Contents(capable), kOld);
  EXPECT_EQ(FileNames(shared_),
            (std::set<std::string>{"capable.ini", "capable.ini.lock", "listed.ini",
                                   "listed.ini.lock", "plain.ini", "plain.ini.lock"}));
}
