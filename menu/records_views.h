#pragma once
// The window "成績の記録" as a drawing: the tabs of its three views, the view shown, and a
// footer that says how to move between them.

#include <optional>

#include "platform/drawing.h"
#include "scores/records_overview.h"

enum class RecordsView { kWorkCurve, kHistory, kWeakSums };
inline constexpr int kRecordsViews = 3;

// overview is nullptr when the history could not be read.
Drawing DrawRecords(const RecordsOverview* overview, RecordsView view);
// The tab at a point of the window, if any.
std::optional<RecordsView> TabAt(float x, float y);

// The views, each into the area between the tabs and the footer.
void DrawWorkCurveView(Drawing& drawing, const RecordsOverview& overview);
void DrawHistoryView(Drawing& drawing, const RecordsOverview& overview);
void DrawWeakSumsView(Drawing& drawing, const RecordsOverview& overview);
