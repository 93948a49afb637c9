#include "tests/scripted_play.h"
#include "platform/testing.h"

#include <algorithm>

ScriptedPlay::ScriptedPlay(uint32_t start_tick, uint32_t pump_ms)
    : start_(start_tick),
      pump_ms_(pump_ms),
      previous_clock_(SetClock(this)),
      previous_keys_(SetKeySource(this)),
      previous_waiter_(SetInputWaiter(this)) {}

ScriptedPlay::~ScriptedPlay() {
  SetClock(previous_clock_);
  SetKeySource(previous_keys_);
  SetInputWaiter(previous_waiter_);
}

void ScriptedPlay::WaitForInput(uint32_t ms) {
  ++waits_;
  uint64_t until = elapsed_ + ms;
  if (!timed_.empty()) until = std::min(until, std::max(timed_.begin()->first, elapsed_));
  elapsed_ = until;
}

void ScriptedPlay::Update(KeyTable& keys) {
  for (const auto& watch : watches_)
    watch();
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

void ScriptedPlay::EveryQuery(std::function<void()> watch) {
  watches_.push_back(std::move(watch));
}

void ScriptedPlay::At(uint64_t ms, Action action) {
  timed_.emplace(ms, std::move(action));
}

void ScriptedPlay::After(uint64_t ms, Action action) {
  At(elapsed_ + ms, std::move(action));
}

void ScriptedPlay::When(std::function<bool()> condition, Action action) {
  waiting_.emplace_back(std::move(condition), std::move(action));
}

ScriptedPlay::Action Press(int vk) {
  return [vk](KeyTable& keys) { keys.Press(vk); };
}

ScriptedPlay::Action Release(int vk) {
  return [vk](KeyTable& keys) { keys.Release(vk); };
}
