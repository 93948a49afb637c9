// The toolkit's event loop: handling window events, and sleeping until one or a key arrives.

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <optional>

#include "platform/input_wait.h"
#include "platform/keyboard.h"

namespace {

class EventLoopWaiter final : public InputWaiter {
 public:
  void WaitForInput(std::optional<uint32_t> ms, WakeFor wake) override {
    std::optional<QTimer> bound;
    if (ms) {
      bound.emplace();
      bound->setTimerType(Qt::PreciseTimer);
      bound->setSingleShot(true);
      bound->start(static_cast<int>(*ms));
    }
    std::optional<QSocketNotifier> keys;
    if (int descriptor = KeyEventDescriptor();
        descriptor >= 0 && wake == WakeFor::kWindowsAndKeys) {
      keys.emplace(descriptor, QSocketNotifier::Read);
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
};

}  // namespace

InputWaiter& ToolkitInputWaiter() {
  static EventLoopWaiter waiter;
  return waiter;
}

void PumpWindowEvents() {
  // Windows of unloaded forms go away here, as the toolkit's own loop would do it.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}
