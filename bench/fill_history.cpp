// Fills the history beside a made-up executable in a folder with the time attacks of a
// simulated player, spread over the days up to today: what the README's picture shows.
// Usage: noruka_fill_history FOLDER ATTACKS DAYS

#include <cstdio>
#include <cstdlib>

#include "bench/simulated_player.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER ATTACKS DAYS\n", argv[0]);
    return 2;
  }
  FillHistory(argv[1], std::atoi(argv[2]), std::max(1, std::atoi(argv[3])));
  return 0;
}
