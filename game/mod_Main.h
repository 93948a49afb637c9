#pragma once
// The game: the start-up procedure and its endless loop of 60-second time attacks.

#include <array>
#include <cstdint>
#include <string>

namespace mod_Main {

inline constexpr int kCells = 20;

// The digits of the row as the cells show them, one character each.
extern std::array<std::string, kCells> DigitRow;
extern int32_t PairPos;       // left cell of the current pair, 0 to 18
extern int32_t CorrectCount;  // correct answers in this time attack
extern int32_t StartTick;     // tick count at the start of play
extern float TimeLimit;       // seconds of play
extern int32_t StripLeft;     // screen x of cell 0, twips

// Where the answer cursor stands, in twips from the top of the screen: its own height above the
// cells, which rest on the bottom of the work area.
int32_t CursorWindowTop();

// The screen changed size, its primary monitor or its usable area: the strip, the cursor and
// the balloons go where a time attack begun now would put them.
void FollowScreen();

// Seeds the digits from the clock and plays time attacks until the player quits.
[[noreturn]] void Main();
// One pass of the loop: set-up, start prompt, countdown, play, result, tear-down. ESC at the
// start prompt closes every window and ends the program.
void TimeAttack();

}  // namespace mod_Main
