#pragma once
// Runs part of a test as another user, in a child process of the test, which runs as root.
// The users are numbers no account on the machine uses: the kernel needs no account to check
// what they may do, and the machine keeps nothing of them.

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

inline constexpr uid_t kPlayer = 4241;
inline constexpr uid_t kOtherUser = 4242;
inline constexpr gid_t kPlayersGroup = 4241;
inline constexpr gid_t kSharedGroup = 4243;  // the player's and the other user's

// What body says went wrong as uid, "" when nothing did; nothing when the child cannot become
// that user (not root, or in a user namespace without it).
inline std::optional<std::string> AsUser(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
                                         const std::function<std::string()>& body) {
  if (geteuid() != 0) return std::nullopt;
  int answer[2];
  if (pipe(answer) != 0) return "no pipe";
  pid_t child = fork();
  if (child == 0) {
    close(answer[0]);
    const bool became =
        setgroups(groups.size(), groups.data()) == 0 && setgid(gid) == 0 && setuid(uid) == 0;
    std::string said = became ? body() : std::string(1, '\0');
    (void)!write(answer[1], said.data(), said.size());
    _exit(0);
  }
  close(answer[1]);
  std::string said;
  char chunk[512];
  for (ssize_t got; (got = read(answer[0], chunk, sizeof chunk)) > 0;)
    said.append(chunk, static_cast<size_t>(got));
  close(answer[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return "the child did not finish: " + said;
  if (said == std::string(1, '\0')) return std::nullopt;
  return said;
}

inline std::optional<std::string> AsPlayer(const std::function<std::string()>& body) {
  return AsUser(kPlayer, kPlayersGroup, {kPlayersGroup, kSharedGroup}, body);
}
