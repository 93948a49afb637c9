#pragma once
// A clock and a keyboard that follow a script, so that whole time attacks run in milliseconds:
// time moves only when the program pumps events or sleeps. A sleep that waits for input ends
// at its bound or at the next scripted key action, whichever comes first; it never blocks.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/testing.h"

class ScriptedPlay final : public Clock, public KeySource, public InputWaiter {
 public:
  using Action = std::function<void(KeyTable&)>;

  explicit ScriptedPlay(uint32_t start_tick = 0, uint32_t pump_ms = 1)
      : start_(start_tick),
        pump_ms_(pump_ms),
        previous_clock_(SetClock(this)),
        previous_keys_(SetKeySource(this)),
        previous_waiter_(SetInputWaiter(this)) {}
  // Gives the program its own clock and keyboard back.
  ~ScriptedPlay() override {
    SetClock(previous_clock_);
    SetKeySource(previous_keys_);
    SetInputWaiter(previous_waiter_);
  }

  uint32_t Now() override { return start_ + static_cast<uint32_t>(elapsed_); }
  void SleepFor(uint32_t ms) override { elapsed_ += ms; }
  void Pumped() override {
    elapsed_ += pump_ms_;
    ++pumps_;
  }
  void WaitForInput(uint32_t ms) override {
    ++waits_;
    uint64_t until = elapsed_ + ms;
    if (!timed_.empty()) until = std::min(until, std::max(timed_.begin()->first, elapsed_));
    elapsed_ = until;
  }
  void Update(KeyTable& keys) override {
    // Actions may schedule more actions: take one at a time.
    for (size_t i = 0; i < waiting_.size();) {
      if (waiting_[i].first()) {
        Action action = std::move(waiting_[i].second);
        waiting_.erase(waiting_.begin() + static_cast<long>(i));
        action(keys);
      } else {
        ++i;
      }
    }
    while (!timed_.empty() && timed_.begin()->first <= elapsed_) {
      Action action = std::move(timed_.begin()->second);
      timed_.erase(timed_.begin());
      action(keys);
    }
  }

  uint64_t Elapsed() const { return elapsed_; }
  uint64_t Pumps() const { return pumps_; }
  // Sleeps of the program's wait loops.
  uint64_t Waits() const { return waits_; }

  // At ms after now.
  void After(uint64_t ms, Action action) { timed_.emplace(elapsed_ + ms, std::move(action)); }
  // At the first keyboard query that finds the condition true; it is asked at every query.
  void When(std::function<bool()> condition, Action action) {
    waiting_.emplace_back(std::move(condition), std::move(action));
  }

 private:
  uint32_t start_;
  uint32_t pump_ms_;
  uint64_t elapsed_ = 0;
  uint64_t pumps_ = 0;
  uint64_t waits_ = 0;
  std::multimap<uint64_t, Action> timed_;
  std::vector<std::pair<std::function<bool()>, Action>> waiting_;
  Clock* previous_clock_;
  KeySource* previous_keys_;
  InputWaiter* previous_waiter_;
};

inline ScriptedPlay::Action Press(int vk) {
  return [vk](KeyTable& keys) { keys.Press(vk); };
}
inline ScriptedPlay::Action Release(int vk) {
  return [vk](KeyTable& keys) { keys.Release(vk); };
}

// Presses the key after delay and lets it go hold milliseconds later.
inline void Tap(ScriptedPlay& play, int vk, uint64_t delay = 0, uint64_t hold = 5) {
  play.After(delay, Press(vk));
  play.After(delay + hold, Release(vk));
}
