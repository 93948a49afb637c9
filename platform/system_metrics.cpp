#include "platform/system_metrics.h"

#include <algorithm>
#include <optional>

#include "platform/testing.h"
#include "platform/twips.h"

namespace {
std::optional<DisplayMetrics> override_metrics;
}  // namespace

DisplayMetrics CurrentDisplayMetrics() {
  if (override_metrics) return *override_metrics;
  DisplayMetrics metrics = PrimaryMonitorMetrics();
  TwipsFactors factors = CurrentTwipsPerPixel();
  metrics.twips_per_pixel_x = factors.x;
  metrics.twips_per_pixel_y = factors.y;
  return metrics;
}

TwipsFactors CurrentTwipsPerPixel() {
  if (override_metrics)
    return {override_metrics->twips_per_pixel_x, override_metrics->twips_per_pixel_y};
  return {};
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
