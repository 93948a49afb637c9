#include "menu/chart.h"
#include "menu/records_layout.h"
#include "menu/records_views.h"

namespace {

using namespace records_layout;

constexpr const char* kTabCaptions[kRecordsViews] = {"作業曲線", "これまでの記録", "苦手な足し算"};
constexpr const char* kKeys = "Tab・←→・1〜3 で切り替え　ESC で閉じる";
// Figures to train by, not a judgement of the player.
constexpr const char* kWhatTheyAre = "数字は練習の目安です";

float TabX(int tab) {
  return kTabLeft + static_cast<float>(tab) * (kTabWidth + kTabGap);
}

void DrawTabs(Drawing& drawing, RecordsView shown) {
  drawing.Rect(0, kContentTop - 9, kWidth, 1, chart::kQuiet);
  for (int tab = 0; tab < kRecordsViews; ++tab) {
    const bool current = tab == static_cast<int>(shown);
    // The tab shown opens into the page below it.
    const float height = current ? kTabHeight + 1 : kTabHeight;
    drawing.Rect(TabX(tab), kTabTop, kTabWidth, height,
                 current ? chart::kBackground : Rgb(226, 226, 222));
    drawing.Rect(TabX(tab), kTabTop, kTabWidth, 1, chart::kQuiet);
    drawing.Rect(TabX(tab), kTabTop, 1, kTabHeight, chart::kQuiet);
    drawing.Rect(TabX(tab) + kTabWidth - 1, kTabTop, 1, kTabHeight, chart::kQuiet);
    if (current) drawing.Rect(TabX(tab) + 4, kTabTop + 3, kTabWidth - 8, 2, chart::kBar);
    drawing.Text(TabX(tab), kTabTop, kTabWidth, kTabHeight, kTabCaptions[tab],
                 chart::Font(10, current), current ? chart::kText : chart::kQuiet,
                 Alignment::Center);
  }
}

}  // namespace

Drawing DrawRecords(const RecordsOverview* overview, RecordsView view) {
  Drawing drawing;
  drawing.Rect(0, 0, kWidth, kHeight, chart::kBackground);
  DrawTabs(drawing, view);
  drawing.Rect(0, kFooterTop, kWidth, 1, chart::kRule);
  const float footer_height = kHeight - kFooterTop - 4;
  drawing.Text(12, kFooterTop + 2, kWidth - 24, footer_height, kKeys, chart::Font(), chart::kQuiet);
  drawing.Text(12, kFooterTop + 2, kWidth - 24, footer_height, kWhatTheyAre, chart::Font(),
               chart::kQuiet, Alignment::Right);
  if (!overview) {
    chart::Label(drawing, 24, kContentTop + 40,
                 "成績の記録を読めませんでした。くわしくは標準エラー出力をご覧ください。");
    return drawing;
  }
  switch (view) {
    case RecordsView::kWorkCurve:
      DrawWorkCurveView(drawing, *overview);
      break;
    case RecordsView::kHistory:
      DrawHistoryView(drawing, *overview);
      break;
    case RecordsView::kWeakSums:
      DrawWeakSumsView(drawing, *overview);
      break;
  }
  return drawing;
}

std::optional<RecordsView> TabAt(float x, float y) {
  if (y < kTabTop || y >= kTabTop + kTabHeight) return std::nullopt;
  for (int tab = 0; tab < kRecordsViews; ++tab) {
    if (x >= TabX(tab) && x < TabX(tab) + kTabWidth) return static_cast<RecordsView>(tab);
  }
  return std::nullopt;
}
