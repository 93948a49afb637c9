// The history's costs, on this machine's disk and under the X server of scripts/with-xvfb:
// writing one time attack of 60 answers, the file's size per time attack, opening the window
// "成績の記録" to its first full paint and running --stats, with 10,000 time attacks stored.
// Usage: noruka_history_bench GAME (the game's executable, for --stats)

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bench/simulated_player.h"
#include "menu/forms.h"
#include "platform/application.h"
#include "platform/form.h"
#include "platform/pump.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kStoredAttacks = 10000;
constexpr int kStoredDays = 1000;
// The simulated player's pace for about 60 presses a time attack, wrong ones included.
constexpr double kAnswersAMinute = 68;

double Ms(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double Timed(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return Ms(Clock::now() - start);
}

void Report(const char* what, std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  auto at = [&](double share) {
    return samples[std::min(samples.size() - 1, static_cast<size_t>(share * samples.size()))];
  };
  std::printf("%-58s p50 %7.2f ms  p99 %7.2f ms  max %7.2f ms  (%zu)\n", what, at(0.5), at(0.99),
              samples.back(), samples.size());
}

// How busy the machine was: these figures are the disk's and the scheduler's as much as ours.
void ReportLoad() {
  std::ifstream load("/proc/loadavg");
  std::string one, five;
  load >> one >> five;
  std::printf("load average %s (1 min), %s (5 min)\n", one.c_str(), five.c_str());
}

// The disk's own part: a 4 KiB write made durable, as each of the journal's steps is.
std::vector<double> Flushes(const std::string& folder, int count) {
  const std::string path = folder + "/flush";
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY, 0600);
  if (fd < 0) std::exit(1);
  std::vector<char> page(4096, 'x');
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    if (pwrite(fd, page.data(), page.size(), 4096 * (i % 8)) < 0) std::exit(1);
    samples.push_back(Timed([&] { fdatasync(fd); }));
  }
  close(fd);
  unlink(path.c_str());
  return samples;
}

std::string Scratch() {
  std::string pattern = (fs::temp_directory_path() / "noruka-bench-XXXXXX").string();
  return mkdtemp(pattern.data());
}

std::vector<double> Writes(const std::string& folder, int count) {
  App::OverridePath(folder + "/noruka-keisan");
  std::mt19937 random(7);
  std::vector<double> samples;
  const LocalDateTime now = LocalDateTimeOf(LocalTimeNow());
  for (int i = 0; i < count; ++i) {
    const AttackRecord record = SimulatedAttack(random, now, 60);
    samples.push_back(Timed([&] {
      if (!RecordTimeAttack(record)) std::exit(1);
    }));
  }
  return samples;
}

std::vector<double> WindowOpenings(const std::string& folder, int count) {
  App::OverridePath(folder + "/noruka-keisan");
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    samples.push_back(Timed([] {
      Form& window = frmRecords();
      window.Show();
      while (window.RepaintCount() == 0)
        DoEventsAndWait();
    }));
    Unload(frmRecords());
    for (int pump = 0; pump < 10; ++pump)
      DoEvents();
  }
  return samples;
}

std::vector<double> StatsRuns(const std::string& folder, const char* game, int count) {
  const std::string copy = folder + "/noruka-keisan";
  fs::copy_file(game, copy, fs::copy_options::overwrite_existing);
  const std::string command = copy + " --stats >/dev/null";
  std::vector<double> samples;
  for (int i = 0; i < count; ++i) {
    samples.push_back(Timed([&] {
      if (std::system(command.c_str()) != 0) std::exit(1);
    }));
  }
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s GAME\n", argv[0]);
    return 2;
  }
  ReportLoad();
  const std::string fresh = Scratch();
  Report("the disk: flush a written 4 KiB page (fdatasync)", Flushes(fresh, 300));
  Report("write one time attack of 60 answers, into a new history", Writes(fresh, 300));
  std::printf("file size per time attack of 60 answers: %.0f bytes (300 stored)\n",
              static_cast<double>(fs::file_size(fresh + "/noruka-keisan.db")) / 300);

  const std::string full = Scratch();
  int64_t presses = 0;
  const double filling =
      Timed([&] { presses = FillHistory(full, kStoredAttacks, kStoredDays, kAnswersAMinute); });
  const auto bytes = fs::file_size(full + "/noruka-keisan.db");
  std::printf(
      "filled %d time attacks with %lld presses over %d days in %.1f s: %.1f MiB, %.0f "
      "bytes per time attack\n",
      kStoredAttacks, static_cast<long long>(presses), kStoredDays, filling / 1000,
      bytes / 1048576.0, static_cast<double>(bytes) / kStoredAttacks);
  int toolkit_argc = 1;
  Application toolkit(toolkit_argc, argv);
  Report("open the window to its first full paint, 10,000 stored", WindowOpenings(full, 20));
  Report("--stats, 10,000 stored", StatsRuns(full, argv[1], 20));
  Report("write one time attack of 60 answers, beside 10,000", Writes(full, 300));

  // Unlike a player's: every one of them within the last 30 days, all their presses read.
  const std::string month = Scratch();
  FillHistory(month, kStoredAttacks, 30, kAnswersAMinute);
  Report("open the window, 10,000 stored, all in the last 30 days", WindowOpenings(month, 5));
  Report("--stats, 10,000 stored, all in the last 30 days", StatsRuns(month, argv[1], 5));

  ReportLoad();
  App::OverridePath("");
  for (const std::string& folder : {fresh, full, month})
    fs::remove_all(folder);
  return 0;
}
