#pragma once
// A clock and a keyboard that follow a script, so that whole time attacks run in milliseconds:
// time moves only when the program pumps events or sleeps. A sleep that waits for input ends
// at its bound or at the next scripted key action, whichever comes first; it never blocks.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"

class ScriptedPlay final : public Clock, public KeySource, public InputWaiter {
 public:
  using Action = std::function<void(KeyTable&)>;

  explicit ScriptedPlay(uint32_t start_tick = 0, uint32_t pump_ms = 1);
  ~ScriptedPlay() override;  // gives the program its own clock and keyboard back

  uint32_t Now() override { return start_ + static_cast<uint32_t>(elapsed_); }
  void SleepFor(uint32_t ms) override { elapsed_ += ms; }
  void Pumped() override {
    elapsed_ += pump_ms_;
    ++pumps_;
  }
  void Update(KeyTable& keys) override;
  void WaitForInput(uint32_t ms) override;

  uint64_t Elapsed() const { return elapsed_; }
  uint64_t Pumps() const { return pumps_; }
  // Sleeps of the program's wait loops.
  uint64_t Waits() const { return waits_; }

  // At ms after the start of the script.
  void At(uint64_t ms, Action action);
  // At ms after now.
  void After(uint64_t ms, Action action);
  // At the first keyboard query that finds the condition true.
  void When(std::function<bool()> condition, Action action);
  // At every keyboard query from now on.
  void EveryQuery(std::function<void()> watch);

 private:
  uint32_t start_;
  uint32_t pump_ms_;
  uint64_t elapsed_ = 0;
  uint64_t pumps_ = 0;
  uint64_t waits_ = 0;
  std::multimap<uint64_t, Action> timed_;
  std::vector<std::pair<std::function<bool()>, Action>> waiting_;
  std::vector<std::function<void()>> watches_;
  Clock* previous_clock_;
  KeySource* previous_keys_;
  InputWaiter* previous_waiter_;
};

ScriptedPlay::Action Press(int vk);
ScriptedPlay::Action Release(int vk);
