#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "platform/system_metrics.h"

DisplayMetrics PrimaryMonitorMetrics() {
  DisplayMetrics metrics;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return metrics;
  QRect full = screen->geometry();
  QRect work = screen->availableGeometry();
  metrics.width_px = full.width();
  metrics.height_px = full.height();
  metrics.work_area_bottom_px = work.y() + work.height() - full.y();
  metrics.caption_px = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  metrics.left_px = full.x();
  metrics.top_px = full.y();
  metrics.work_area = {work.x(), work.y(), work.width(), work.height()};
  return metrics;
}
