#include "platform/qt/desktop.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <memory>

#include "platform/x11/desktop_watch.h"

namespace {

void (*docks_change_handler)() = nullptr;

struct Watch {
  std::unique_ptr<DesktopWatch> desktop;
  std::unique_ptr<QSocketNotifier> events;
};

Watch& TheWatch() {
  static Watch watch = [] {
    Watch started;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11) return started;
    started.desktop = DesktopWatch::Open(x11->connection());
    if (!started.desktop) return started;
    started.events =
        std::make_unique<QSocketNotifier>(started.desktop->Descriptor(), QSocketNotifier::Read);
    DesktopWatch* desktop = started.desktop.get();
    QObject::connect(started.events.get(), &QSocketNotifier::activated, [desktop] {
      if (desktop->TakeEvents() && docks_change_handler) docks_change_handler();
    });
    return started;
  }();
  return watch;
}

}  // namespace

DesktopWatch* Desktop() {
  return TheWatch().desktop.get();
}

void OnDocksChange(void (*handler)()) {
  docks_change_handler = handler;
  Desktop();
}
