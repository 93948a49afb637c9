#include <QGuiApplication>
#include <QScreen>

#include "platform/qt/desktop.h"
#include "platform/system_metrics.h"
#include "platform/x11/desktop_watch.h"

namespace {

// The usable part of the monitor, in the toolkit's pixels. Where the window manager publishes
// no work area, the toolkit takes the whole screen as usable: the docks' reserved edges say
// what is.
QRect UsableArea(const QScreen& screen) {
  DesktopWatch* desktop = Desktop();
  if (!desktop) return screen.availableGeometry();
  // The toolkit's pixels are the server's divided by the scale, from the monitor's corner on.
  const QRect logical = screen.geometry();
  const qreal scale = screen.devicePixelRatio();
  const PixelRect native{logical.x(), logical.y(), qRound(logical.width() * scale),
                         qRound(logical.height() * scale)};
  std::optional<PixelRect> free = desktop->FreeArea(native);
  if (!free) return screen.availableGeometry();
  return QRect(logical.x() + qRound((free->x - native.x) / scale),
               logical.y() + qRound((free->y - native.y) / scale), qRound(free->width / scale),
               qRound(free->height / scale));
}

}  // namespace

DisplayMetrics PrimaryMonitorMetrics() {
  DisplayMetrics metrics;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return metrics;
  QRect full = screen->geometry();
  QRect work = UsableArea(*screen);
  metrics.width_px = full.width();
  metrics.height_px = full.height();
  metrics.work_area_bottom_px = work.y() + work.height() - full.y();
  metrics.left_px = full.x();
  metrics.top_px = full.y();
  metrics.work_area = {work.x(), work.y(), work.width(), work.height()};
  return metrics;
}
