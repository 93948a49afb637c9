#include "platform/system_metrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/failures.h"
#include "platform/services.h"
#include "platform/twips.h"

const DisplayMetrics*& DisplayMetricsOverride() {
  static const DisplayMetrics* metrics = nullptr;
  return metrics;
}

DisplayMetrics CurrentDisplayMetrics() {
  if (const DisplayMetrics* metrics = DisplayMetricsOverride()) return *metrics;
  DisplayMetrics metrics = PrimaryMonitorMetrics();
  TwipsFactors factors = CurrentTwipsPerPixel();
  metrics.twips_per_pixel_x = factors.x;
  metrics.twips_per_pixel_y = factors.y;
  return metrics;
}

TwipsFactors CurrentTwipsPerPixel() {
  if (const DisplayMetrics* metrics = DisplayMetricsOverride())
    return {metrics->twips_per_pixel_x, metrics->twips_per_pixel_y};
  return {};
}

int32_t WorkAreaHeight() {
  const DisplayMetrics metrics = CurrentDisplayMetrics();
  const double twips = std::nearbyint(static_cast<double>(metrics.work_area_bottom_px) *
                                      static_cast<double>(metrics.twips_per_pixel_y));
  // The design keeps it in 32 bits: a bottom edge beyond that is no screen.
  if (twips > INT32_MAX || twips < INT32_MIN) FatalError("Overflow in the work-area height");
  return static_cast<int32_t>(twips);
}

int TwipsToPixelsX(double twips) {
  return WholeDiv(twips, CurrentTwipsPerPixel().x);
}

int TwipsToPixelsY(double twips) {
  return WholeDiv(twips, CurrentTwipsPerPixel().y);
}

PixelRect TwipsToPixels(double left, double top, double width, double height) {
  return {TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height)};
}

PixelRect DesktopRect(const PixelRect& layout_rect, bool inside_work_area) {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  PixelRect desktop = layout_rect;
  desktop.x += metrics.left_px;
  desktop.y += metrics.top_px;
  const PixelRect& work = metrics.work_area;
  if (!inside_work_area || work.Empty()) return desktop;
  const int left = std::max(desktop.x, work.x);
  const int top = std::max(desktop.y, work.y);
  const int right = std::min(desktop.x + desktop.width, work.x + work.width);
  const int bottom = std::min(desktop.y + desktop.height, work.y + work.height);
  if (right <= left || bottom <= top) return desktop;
  return {left, top, right - left, bottom - top};
}
