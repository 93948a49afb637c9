// The cost of one iteration of play with the real toolkit and keyboard: read the tick count,
// rewrite the time label, find no digit key, pump events once.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/forms.h"
#include "game/key_readings.h"
#include "game/time_display.h"
#include "platform/application.h"
#include "platform/clock.h"
#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/pump.h"
#include "platform/x11/key_source.h"

namespace {

void ShowCursorWindow() {
  Form& cursor = frmKAITOU();
  cursor.Show();
  for (int i = 0; i < 20; ++i)
    DoEvents();
}

void BM_PlayIteration(benchmark::State& state) {
  ShowCursorWindow();
  uint32_t start = GetTickCount();
  uint64_t repaints = frmKAITOU().RepaintCount();
  for (auto _ : state) {
    uint32_t elapsed = GetTickCount() - start;
    frmKAITOU().Label("LT").SetCaption(FormatTime(60 - elapsed / 1000.0));
    benchmark::DoNotOptimize(ReadDigitKey());
    DoEvents();
  }
  state.counters["repaints"] =
      benchmark::Counter(static_cast<double>(frmKAITOU().RepaintCount() - repaints));
}
BENCHMARK(BM_PlayIteration)->MinTime(2.0)->Repetitions(5)->ReportAggregatesOnly(true);

// The same text every time: the label must not repaint at all.
void BM_PlayIterationUnchangedText(benchmark::State& state) {
  ShowCursorWindow();
  frmKAITOU().Label("LT").SetCaption("42.0");
  for (int i = 0; i < 20; ++i)
    DoEvents();
  uint64_t repaints = frmKAITOU().RepaintCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(GetTickCount());
    frmKAITOU().Label("LT").SetCaption(FormatTime(42));
    benchmark::DoNotOptimize(ReadDigitKey());
    DoEvents();
  }
  state.counters["repaints"] =
      benchmark::Counter(static_cast<double>(frmKAITOU().RepaintCount() - repaints));
}
BENCHMARK(BM_PlayIterationUnchangedText)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  std::string why;
  std::unique_ptr<X11KeySource> keys = X11KeySource::Open(nullptr, &why);
  if (!keys) {
    std::fprintf(stderr, "noruka_bench: %s\n", why.c_str());
    return 1;
  }
  Application toolkit(argc, argv);
  SetKeySource(keys.get());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  SetKeySource(nullptr);
  return 0;
}
