#include "platform/system_metrics.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <optional>

#include "platform/twips.h"

namespace {
std::optional<DisplayMetrics> override_metrics;
}

DisplayMetrics CurrentDisplayMetrics() {
  if (override_metrics) return *override_metrics;
  DisplayMetrics metrics;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return metrics;
  QRect full = screen->geometry();
  QRect work = screen->availableGeometry();
  metrics.width_px = full.width();
  metrics.height_px = full.height();
  metrics.work_area_bottom_px = work.y() + work.height() - full.y();
  metrics.caption_px = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
  TwipsFactors factors = CurrentTwipsPerPixel();
  metrics.twips_per_pixel_x = factors.x;
  metrics.twips_per_pixel_y = factors.y;
  return metrics;
}

TwipsFactors CurrentTwipsPerPixel() {
  if (override_metrics)
    return {override_metrics->twips_per_pixel_x, override_metrics->twips_per_pixel_y};
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  return {static_cast<float>(1440.0 / screen->logicalDotsPerInchX()),
          static_cast<float>(1440.0 / screen->logicalDotsPerInchY())};
}

void OverrideDisplayMetrics(const DisplayMetrics* metrics) {
  if (metrics) {
    override_metrics = *metrics;
  } else {
    override_metrics.reset();
  }
}

int GetSystemMetrics(int index) {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  switch (index) {
    case SM_CYCAPTION:
      return metrics.caption_px;
    case SM_CYFULLSCREEN:
      return metrics.work_area_bottom_px - metrics.caption_px;
    default:
      return 0;
  }
}

int TwipsToPixelsX(double twips) {
  return WholeDiv(twips, CurrentTwipsPerPixel().x);
}

int TwipsToPixelsY(double twips) {
  return WholeDiv(twips, CurrentTwipsPerPixel().y);
}
