// Records the scores given on standard input, one a line, as the game does at the end of a
// time attack, and answers each with its rank and whether it was saved. Its settings file is
// the game's: beside this executable, named after it.

#include <iostream>
#include <string>

#include "platform/toolkit.h"
#include "scores/high_scores.h"

int main() {
  App::FindExecutable();
  std::string score;
  while (std::getline(std::cin, score)) {
    int rank = RecordHighScore(score, "", HigherFirst);
    std::cout << rank << " " << (HighScoreSaved() ? "saved" : "not saved") << std::endl;
  }
  return 0;
}
