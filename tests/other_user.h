#pragma once
// Runs part of a test as another user, in a child process of the test, which runs as root.
// The users are numbers no account on the machine uses: the kernel needs no account to check
// what they may do, and the machine keeps nothing of them.

#include <grp.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

inline constexpr uid_t kPlayer = 4241;
inline constexpr uid_t kOtherUser = 4242;
inline constexpr gid_t kPlayersGroup = 4241;
inline constexpr gid_t kSharedGroup = 4243;  // the player's and the other user's
inline constexpr uid_t kNobody = 65534;

// For EXPECT_EXIT(..., testing::ExitedWithCode(0), ""): becomes uid when run as root, and exits
// 0 when body says "" went wrong, or 1 with what did on standard error, which the test shows.
inline void ExitAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
                   const std::function<std::string()>& body) {
  if (geteuid() == 0 && (setgroups(groups.size(), groups.data()) || setgid(gid) || setuid(uid))) {
    std::fprintf(stderr, "cannot act as user %u\n", uid);
    _exit(2);
  }
  const std::string said = body();
  std::fputs(said.c_str(), stderr);
  _exit(said.empty() ? 0 : 1);
}

inline void ExitAsPlayer(const std::function<std::string()>& body) {
  ExitAs(kPlayer, kPlayersGroup, {kPlayersGroup, kSharedGroup}, body);
}

// What went wrong, if got is not wanted, for a body above.
inline std::string Expect(const std::string& what, const std::string& got,
                          const std::string& wanted) {
  return got == wanted ? "" : what + ": \"" + got + "\", not \"" + wanted + "\"\n";
}
