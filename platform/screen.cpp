#include "platform/screen.h"

#include "platform/system_metrics.h"

float Screen::Width() {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  return static_cast<float>(metrics.width_px * metrics.twips_per_pixel_x);
}

float Screen::Height() {
  DisplayMetrics metrics = CurrentDisplayMetrics();
  return static_cast<float>(metrics.height_px * metrics.twips_per_pixel_y);
}

float Screen::TwipsPerPixelX() {
  return CurrentTwipsPerPixel().x;
}

float Screen::TwipsPerPixelY() {
  return CurrentTwipsPerPixel().y;
}
