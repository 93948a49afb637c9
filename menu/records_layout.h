#pragma once
// Where the window "成績の記録" puts things, in its own pixels.

namespace records_layout {

inline constexpr float kWidth = 680;
inline constexpr float kHeight = 470;

// The three views' tabs along the top.
inline constexpr float kTabLeft = 12;
inline constexpr float kTabTop = 8;
inline constexpr float kTabWidth = 140;
inline constexpr float kTabHeight = 26;
inline constexpr float kTabGap = 4;
inline constexpr float kContentTop = 42;
inline constexpr float kFooterTop = 446;

// The work curve: twelve intervals side by side, their bars standing on the bottom line.
inline constexpr float kCurveLeft = 56;
inline constexpr float kCurveTop = 76;
inline constexpr float kCurveBottom = 376;
inline constexpr float kIntervalWidth = 32;
inline constexpr float kBarInset = 5;  // on each side of a bar within its interval

// The history: calendar days from left to right.
inline constexpr float kHistoryLeft = 56;
inline constexpr float kHistoryRight = 660;
inline constexpr float kHistoryTop = 76;
inline constexpr float kHistoryBottom = 350;

// The weak sums: two grids of ten by ten cells, left digit down, right digit across.
inline constexpr float kGridTop = 92;
inline constexpr float kCell = 24;
inline constexpr float kTimeGridLeft = 46;
inline constexpr float kErrorGridLeft = 370;

}  // namespace records_layout
