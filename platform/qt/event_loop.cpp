// Pumping window events, and sleeping in the pump when a wait loop has nothing to do.

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "platform/clock.h"
#include "platform/input_wait.h"
#include "platform/keyboard.h"
#include "platform/replaceable.h"
#include "platform/testing.h"
#include "platform/toolkit.h"

namespace {

// A safety bound: every wake-up source is watched, so no loop should need it.
constexpr uint32_t kLongestSleepMs = 100;

// Sleeps in the toolkit's event loop, watching the key source's descriptor as well.
class EventLoopWaiter final : public InputWaiter {
 public:
  void WaitForInput(uint32_t ms) override {
    QTimer bound;
    bound.setTimerType(Qt::PreciseTimer);
    bound.setSingleShot(true);
    bound.start(static_cast<int>(ms));
    std::optional<QSocketNotifier> keys;
    if (int descriptor = KeyEventDescriptor(); descriptor >= 0) {
      keys.emplace(descriptor, QSocketNotifier::Read);
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
};

EventLoopWaiter event_loop_waiter;
Replaceable<InputWaiter> waiter(event_loop_waiter);

}  // namespace

InputWaiter* SetInputWaiter(InputWaiter* next) {
  return waiter.Replace(next);
}

void DoEvents() {
  // Windows of unloaded forms go away here, as the toolkit's own loop would do it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  CurrentClock().Pumped();
}

void DoEventsAndWait(uint32_t deadline_tick) {
  DoEvents();
  // A key the loop has not looked at yet, or one its own queries took in, must be seen first.
  if (KeysChangedSinceLastLook()) return;
  auto left = static_cast<int32_t>(deadline_tick - GetTickCount());
  if (left <= 0) return;
  waiter->WaitForInput(std::min(static_cast<uint32_t>(left), kLongestSleepMs));
}

void DoEventsAndWait() {
  DoEventsAndWait(GetTickCount() + kLongestSleepMs);
}
