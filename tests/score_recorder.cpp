// Records three scores as the game does at the end of a time attack, its binary replaced by the
// one given after the first, as a package upgrade does, and removed after the second; answers
// each with its rank and whether it was saved. Its settings file is the game's: beside this
// executable, named after it.

#include <filesystem>
#include <iostream>
#include <string>

#include "platform/executable.h"
#include "scores/high_scores.h"
#include "tests/plain_sleep.h"

int main(int, char** argv) {
  std::string why;
  if (!App::FindExecutable(&why)) {
    std::cerr << why << "\n";
    return 1;
  }
  PlainSleep pump;
  const std::string self = argv[0];
  auto record = [](int score) {
    int rank = RecordHighScore(score);
    std::cout << rank << (HighScoreSaved() ? " saved\n" : " not saved\n");
  };
  record(30);
  std::filesystem::copy_file(argv[1], self + ".new");
  std::filesystem::rename(self + ".new", self);
  record(40);
  std::filesystem::remove(self);
  record(20);
}
