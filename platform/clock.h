#pragma once
// The millisecond clock behind GetTickCount and Sleep; tests swap in a scripted one (SetClock).

#include <cstdint>

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since some fixed start, wrapping after 2^32.
  virtual uint32_t Now() = 0;
  virtual void SleepFor(uint32_t ms) = 0;
  // The program has just handled its pending window events.
  virtual void Pumped() {}
};

Clock& CurrentClock();

// Milliseconds since the system started, wrapping to 0 after about 49.7 days.
uint32_t GetTickCount();
void Sleep(uint32_t ms);

// The same as a signed 32-bit count, as the game keeps it.
int32_t TickCount();
