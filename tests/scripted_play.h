#pragma once
// A clock and a keyboard that follow a script, so that whole time attacks run in milliseconds:
// time moves only when the program pumps events or sleeps. Key events queue up in the order
// they happen and reach the program only through the keyboard's own reads, as a device's do.
// A sleep that waits for input ends at its bound or at the next scripted action, whichever
// comes first; it never blocks.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/testing.h"

class ScriptedPlay final : public Clock, public KeySource, public InputWaiter {
 public:
  using Action = std::function<void()>;

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
  void SleepFor(uint32_t ms) override {
    elapsed_ += ms;
    RunDue();
  }
  void Pumped() override {
    elapsed_ += pump_ms_;
    ++pumps_;
    RunDue();
  }
  void WaitForInput(std::optional<uint32_t> ms, WakeFor) override {
    ++waits_;
    // The program would sleep for ever: the script has lost its way.
    if (!ms && timed_.empty()) throw std::logic_error("waits for input that never comes");
    uint64_t until = ms ? elapsed_ + *ms : UINT64_MAX;
    if (!timed_.empty()) until = std::min(until, std::max(timed_.begin()->first, elapsed_));
    elapsed_ = until;
    RunDue();
  }
  std::optional<KeyEvent> Next(bool read_device) override {
    if (read_device) RunDue();
    if (arrived_.empty()) return std::nullopt;
    KeyEvent next = arrived_.front();
    arrived_.pop_front();
    return next;
  }
  void Sync() override { RunDue(); }

  uint64_t Elapsed() const { return elapsed_; }
  uint64_t Pumps() const { return pumps_; }
  // Sleeps of the program's wait loops.
  uint64_t Waits() const { return waits_; }

  // At ms after now.
  void After(uint64_t ms, Action action) { timed_.emplace(elapsed_ + ms, std::move(action)); }
  // Once the condition holds; it is asked whenever time moves or the keyboard is read.
  void When(std::function<bool()> condition, Action action) {
    waiting_.emplace_back(std::move(condition), std::move(action));
  }
  // A key event happens at once.
  void Happen(KeyEvent event) { arrived_.push_back(event); }
  Action Press(int vk) {
    return [this, vk] { Happen({vk, KeyEvent::Kind::kPress}); };
  }
  Action Release(int vk) {
    return [this, vk] { Happen({vk, KeyEvent::Kind::kRelease}); };
  }
  // Presses the key after delay and lets it go hold milliseconds later; with neither, both
  // happen before the program's next look, as a tap faster than its loop.
  void Tap(int vk, uint64_t delay = 0, uint64_t hold = 5) {
    After(delay, Press(vk));
    After(delay + hold, Release(vk));
  }

 private:
  // Runs what is due, one action at a time, each taken off its list before it runs: an action
  // may schedule more, or read the keyboard and so come back here, as one that opens a menu does.
  void RunDue() {
    for (;;) {
      auto ready = std::find_if(waiting_.begin(), waiting_.end(),
                                [](const auto& entry) { return entry.first(); });
      Action action;
      if (ready != waiting_.end()) {
        action = std::move(ready->second);
        waiting_.erase(ready);
      } else if (!timed_.empty() && timed_.begin()->first <= elapsed_) {
        action = std::move(timed_.begin()->second);
        timed_.erase(timed_.begin());
      } else {
        return;
      }
      if (action) action();
    }
  }

  uint32_t start_;
  uint32_t pump_ms_;
  uint64_t elapsed_ = 0;
  uint64_t pumps_ = 0;
  uint64_t waits_ = 0;
  std::multimap<uint64_t, Action> timed_;
  std::vector<std::pair<std::function<bool()>, Action>> waiting_;
  std::deque<KeyEvent> arrived_;
  Clock* previous_clock_;
  KeySource* previous_keys_;
  InputWaiter* previous_waiter_;
};
