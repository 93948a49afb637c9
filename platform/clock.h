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

// Milliseconds since the system started, wrapping to 0 after about 49.7 days.
uint32_t GetTickCount();
void Sleep(uint32_t ms);

// The game loop's name for the same count.
inline uint32_t TickCount() {
  return GetTickCount();
}
