#pragma once
// The built-in shapes by number. Shapes 0 and 1 also name a face picture and a size preset;
// the balloon's ends and rims are outlines only.

inline constexpr int kCellShape = 0;    // a digit cell, 18 x 18 pixels
inline constexpr int kCursorShape = 1;  // the answer cursor: a box with a red arrow below

inline constexpr int TalkShapeBase = 10000;
inline constexpr int kTalkLeftEndWithTail = 10000;
inline constexpr int kTalkRightEnd = 10001;
inline constexpr int kTalkLeftEnd = 10002;           // 10001 mirrored
inline constexpr int kTalkRightEndWithTail = 10003;  // 10000 mirrored
// The one-pixel rim of each end lies four numbers above it.
inline constexpr int kTalkRimOffset = 4;
