#include "game/command_line.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/executable.h"
#include "platform/failures.h"
#include "resources/version.h"
#include "scores/history_export.h"
#include "scores/history_read.h"
#include "scores/history_store.h"
#include "scores/records_overview.h"
#include "scores/records_summary.h"

namespace {

constexpr int kUsageError = 2;

void PrintHelp() {
  std::cout << "Usage: " << App::ProgramName() << " [OPTION]\n"
            << "A 60-second mental-arithmetic time attack. Without an option, the game starts on\n"
               "the X display.\n\n"
               "  --stats                 print a summary of the time attacks played\n"
               "  --export csv|json FILE  write every time attack and press to FILE\n"
               "                          (\"-\": standard output)\n"
               "  --help                  print this help\n"
               "  --version               print the version\n\n"
               "The time attacks are kept in "
            << HistoryFilePath() << "\n";
}

int PrintStats() {
  const std::optional<RecordsOverview> overview = ReadRecordsOverview();
  if (!overview) return 1;
  std::cout << RecordsSummary(*overview);
  return 0;
}

int Export(std::string_view format, const std::string& file) {
  const History history = ReadWholeHistory();
  if (!history.readable) return 1;
  auto write = [&](std::ostream& out) {
    if (format == "csv") {
      WriteHistoryCsv(history.attacks, out);
    } else {
      WriteHistoryJson(history.attacks, out);
    }
    out.flush();
    return out.good();
  };
  if (file == "-") return write(std::cout) ? 0 : 1;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (out && write(out) && (out.close(), !out.fail())) return 0;
  ReportProblem("cannot write " + file + ": " + std::strerror(errno));
  return 1;
}

int Usage(const std::string& what) {
  ReportProblem(what + " (see " + App::ProgramName() + " --help)");
  return kUsageError;
}

}  // namespace

std::optional<int> RunCommandLine(int argc, char** argv) {
  if (argc <= 1) return std::nullopt;
  if (std::string why; !App::FindExecutable(&why)) {
    ReportProblem(why);
    return 1;
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  const std::string& option = args[0];
  size_t takes = 0;
  if (option == "--export") {
    if (args.size() < 3) return Usage("--export needs a format, csv or json, and a file");
    if (args[1] != "csv" && args[1] != "json")
      return Usage("--export writes csv or json, not '" + args[1] + "'");
    takes = 2;
  } else if (option != "--help" && option != "-h" && option != "--version" && option != "--stats") {
    return Usage("unknown option '" + option + "'");
  }
  if (args.size() > takes + 1) return Usage("unexpected argument '" + args[takes + 1] + "'");
  if (option == "--export") return Export(args[1], args[2]);
  if (option == "--stats") return PrintStats();
  if (option == "--version") {
    std::cout << App::ProgramName() << " " << kVersion << "\n";
  } else {
    PrintHelp();
  }
  return 0;
}
