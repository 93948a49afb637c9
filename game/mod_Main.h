#pragma once
// The game: the start-up procedure and its endless loop of 60-second time attacks.

#include "game/random_digits.h"

namespace mod_Main {

// What the loop keeps from one time attack to the next.
struct LoopState {
  RandomDigits digits;
  // ENTER was down at the last look: after a result, the press that closed it.
  bool enter_down = false;
};

// Seeds the digits from the clock and plays time attacks until the player quits.
[[noreturn]] void Main();
// One pass of the loop: set-up, start prompt, countdown, play, result, tear-down. ESC at the
// start prompt closes every window and ends the program.
void TimeAttack(LoopState& loop);

}  // namespace mod_Main
