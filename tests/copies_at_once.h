#pragma once
// Copies of the game that do their part at the same moment: forked children held at a pipe
// until every one of them is ready, then let go together.

#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <vector>

// Runs part(copy) in each of copies children at once and returns their exit statuses, as
// waitpid gives them (-1 for a copy that could not be started).
inline std::vector<int> RunCopiesAtOnce(int copies, const std::function<int(int copy)>& part) {
  int start[2];
  if (pipe(start) != 0) return std::vector<int>(static_cast<size_t>(copies), -1);
  std::vector<pid_t> children;
  for (int copy = 0; copy < copies; ++copy) {
    pid_t pid = fork();
    if (pid == 0) {
      close(start[1]);
      char byte;
      (void)!read(start[0], &byte, 1);  // returns when the parent closes the pipe
      _exit(part(copy));
    }
    children.push_back(pid);
  }
  close(start[0]);
  close(start[1]);
  std::vector<int> statuses;
  for (pid_t pid : children) {
    int status = -1;
    if (pid > 0) waitpid(pid, &status, 0);
    statuses.push_back(status);
  }
  return statuses;
}
