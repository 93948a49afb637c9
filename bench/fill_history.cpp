// Fills the history beside a made-up executable in a folder with the time attacks of a
// simulated player, spread over the days up to today: what the benchmarks and the README's
// picture look at. Usage: noruka_fill_history FOLDER ATTACKS DAYS

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/simulated_player.h"
#include "platform/testing.h"
#include "scores/history_store.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s FOLDER ATTACKS DAYS\n", argv[0]);
    return 2;
  }
  App::OverridePath(std::string(argv[1]) + "/noruka-keisan");
  const int attacks = std::atoi(argv[2]);
  const int days = std::max(1, std::atoi(argv[3]));
  std::mt19937 random(20241207);
  // Days off now and then, and today always played.
  std::uniform_int_distribution<int> day_of(0, days - 1);
  std::vector<int> offsets;
  for (int i = 0; i < attacks; ++i)
    offsets.push_back(i == attacks - 1 ? days - 1 : day_of(random));
  std::sort(offsets.begin(), offsets.end());
  const int64_t today = DayNumber(LocalDateTimeOf(LocalTimeNow()));
  std::uniform_int_distribution<int> hour(7, 22), minute(0, 59);
  int failed = 0;
  for (int i = 0; i < attacks; ++i) {
    LocalDateTime started = DateOfDay(today - (days - 1) + offsets[i]);
    started.hour = hour(random);
    started.minute = minute(random);
    started.second = minute(random);
    const double progress = days > 1 ? offsets[i] / static_cast<double>(days - 1) : 1;
    failed += RecordTimeAttack(SimulatedAttack(random, started, progress)) ? 0 : 1;
  }
  return failed == 0 ? 0 : 1;
}
