// The sums by their two digits: how long each took, how often it went wrong, the sums with and
// without a carry, and the five that took longest.

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

#include "menu/chart.h"
#include "menu/records_layout.h"
#include "menu/records_views.h"
#include "scores/figure_text.h"

namespace {

using namespace records_layout;

constexpr Color kFast = Rgb(255, 246, 232);
constexpr Color kSlow = Rgb(204, 84, 16);
constexpr Color kRight = Rgb(255, 255, 255);
constexpr Color kOften = Rgb(190, 30, 45);
constexpr double kErrorRateOfDeepest = 0.5;

Color Blend(Color from, Color to, double share) {
  share = std::clamp(share, 0.0, 1.0);
  auto channel = [&](int shift) {
    const double a = (from >> shift) & 0xFF, b = (to >> shift) & 0xFF;
    return static_cast<int>(a + (b - a) * share + 0.5);
  };
  return Rgb(channel(16), channel(8), channel(0));
}

// A cell's fill and text, or nothing where the pair has not come up.
struct Shade {
  Color fill;
  std::string text;
  double depth;
};

void DrawGrid(Drawing& drawing, float left, const std::string& title,
              const std::function<std::optional<Shade>(int, int)>& shade) {
  chart::Label(drawing, left - 24, kContentTop + 16, title, chart::kText, 10, true);
  drawing.Text(left - 50, kGridTop - 18, 46, 16, "左＼右", chart::Font(), chart::kQuiet,
               Alignment::Right);
  for (int digit = 0; digit < 10; ++digit) {
    const float offset = kCell * static_cast<float>(digit);
    drawing.Text(left + offset, kGridTop - 18, kCell, 16, std::to_string(digit), chart::Font(),
                 chart::kQuiet, Alignment::Center);
    drawing.Text(left - 18, kGridTop + offset, 14, kCell, std::to_string(digit), chart::Font(),
                 chart::kQuiet, Alignment::Right);
  }
  for (int row = 0; row < 10; ++row) {
    for (int column = 0; column < 10; ++column) {
      const float x = left + kCell * static_cast<float>(column);
      const float y = kGridTop + kCell * static_cast<float>(row);
      const std::optional<Shade> cell = shade(row, column);
      drawing.Rect(x, y, kCell, kCell, cell ? cell->fill : chart::kPanel);
      if (cell) {
        drawing.Text(x, y, kCell, kCell, cell->text, chart::Font(8),
                     cell->depth > 0.6 ? kRight : chart::kText, Alignment::Center);
      }
    }
  }
  for (int line = 0; line <= 10; ++line) {
    const float offset = kCell * static_cast<float>(line);
    drawing.Rect(left, kGridTop + offset, kCell * 10 + 1, 1, chart::kRule);
    drawing.Rect(left + offset, kGridTop, 1, kCell * 10 + 1, chart::kRule);
  }
}

void DrawTimes(Drawing& drawing, const WeakSums& weak) {
  double fastest = 0, slowest = 0;
  bool any = false;
  for (const auto& row : weak.pairs) {
    for (const SumFigures& pair : row) {
      if (!pair.median_ms) continue;
      fastest = any ? std::min(fastest, *pair.median_ms) : *pair.median_ms;
      slowest = any ? std::max(slowest, *pair.median_ms) : *pair.median_ms;
      any = true;
    }
  }
  DrawGrid(drawing, kTimeGridLeft, "1問の時間（中央値・秒）", [&](int left, int right) {
    const std::optional<double>& median = weak.pairs[left][right].median_ms;
    if (!median) return std::optional<Shade>();
    const double depth = slowest > fastest ? (*median - fastest) / (slowest - fastest) : 0;
    return std::optional<Shade>(
        Shade{Blend(kFast, kSlow, depth), Formatted("%.1f", *median / 1000), depth});
  });
  // The slowest, framed.
  for (const auto& [left, right] : weak.slowest) {
    drawing.Frame(kTimeGridLeft + kCell * static_cast<float>(right) - 1,
                  kGridTop + kCell * static_cast<float>(left) - 1, kCell + 3, kCell + 3,
                  chart::kText);
  }
}

void DrawErrors(Drawing& drawing, const WeakSums& weak) {
  DrawGrid(drawing, kErrorGridLeft, "誤りの割合（％）", [&](int left, int right) {
    const std::optional<double>& rate = weak.pairs[left][right].error_rate;
    if (!rate) return std::optional<Shade>();
    const double depth = *rate / kErrorRateOfDeepest;
    return std::optional<Shade>(
        Shade{Blend(kRight, kOften, depth), Formatted("%.0f", *rate * 100), depth});
  });
}

std::string CarryLine(const char* name, const SumFigures& figures) {
  return std::string(name) + "　1問 " + SecondsText(figures.median_ms) + "・誤り " +
         PercentText(figures.error_rate) + "（" + std::to_string(figures.answers) + " 問）";
}

void DrawFigures(Drawing& drawing, const RecordsOverview& overview) {
  const WeakSums& weak = overview.weak;
  const float y = kGridTop + kCell * 10 + 24;
  chart::Label(drawing, 16, y, CarryLine("繰り上がりあり", weak.with_carry));
  chart::Label(drawing, 340, y, CarryLine("繰り上がりなし", weak.without_carry));
  std::string slowest = "時間のかかる足し算";
  int rank = 0;
  for (const auto& [left, right] : weak.slowest) {
    slowest += "　" + std::to_string(++rank) + ". " + PairText(left, right) + " " +
               SecondsText(weak.pairs[left][right].median_ms);
  }
  if (weak.slowest.empty()) slowest += "　まだわかりません";
  chart::Label(drawing, 16, y + 24, slowest);
  chart::Label(
      drawing, 16, y + 48,
      "直近 " + std::to_string(overview.weak_attacks) +
          " 回のタイムアタックから。枠は時間のかかる足し算、左の数字が行、右の数字が列です。",
      chart::kQuiet);
}

}  // namespace

void DrawWeakSumsView(Drawing& drawing, const RecordsOverview& overview) {
  if (overview.weak_attacks == 0) {
    chart::Label(drawing, 24, kContentTop + 40,
                 "まだ記録がありません。足し算ごとにかかった時間と誤りがここに出ます。");
    return;
  }
  DrawTimes(drawing, overview.weak);
  DrawErrors(drawing, overview.weak);
  DrawFigures(drawing, overview);
}
