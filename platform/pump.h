#pragma once
// Pumping window events, as the game's wait loops do between two looks at the keyboard.

#include <cstdint>

// Handles the queued window events, then returns. The keyboard's next pass begins.
void DoEvents();
// The pump of a wait loop: handles the queued window events and then, unless a change of a key
// waits to be seen, sleeps until a window or key event arrives or the tick count reaches the
// deadline; without a deadline, until a window or key event arrives. A loop that polls and
// calls this after every poll sees each change of a key in order, one per pass.
void DoEventsAndWait(uint32_t deadline_tick);
void DoEventsAndWait();
// Handles window events as they come until the tick count reaches the deadline, for a wait that
// polls no key: the keys that come meanwhile wait for the next poll.
void DoEventsUntil(uint32_t deadline_tick);
// Pumps pending window events once, then blocks for ms milliseconds without handling any.
void WaitMilliseconds(int32_t ms);
