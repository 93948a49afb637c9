#pragma once
// Screen metrics under the names the game's layout code uses. The layout's screen is the
// primary monitor: every position the game uses is relative to its top-left corner.

#include <cstdint>
#include <functional>

#include "platform/pixel_rect.h"

// The primary monitor as the layout sees it, in logical pixels.
struct DisplayMetrics {
  int width_px = 0;
  int height_px = 0;
  int work_area_bottom_px = 0;  // y just below the usable area (top of a bottom panel)
  float twips_per_pixel_x = 15;
  float twips_per_pixel_y = 15;
  // Where the monitor and its usable area lie on the whole desktop; an empty work area is the
  // whole monitor.
  int left_px = 0;
  int top_px = 0;
  PixelRect work_area{};
};

DisplayMetrics CurrentDisplayMetrics();
// What the windowing backend reports of the primary monitor.
DisplayMetrics PrimaryMonitorMetrics();
// Calls handler from the event pump after the primary monitor, its size or its usable area
// changed (a panel came, moved or went), once for changes that come together; it replaces the
// handler given before, and nullptr calls none.
void OnScreenChange(std::function<void()> handler);

// Just the twips-per-pixel factors: what every twips conversion needs, without the rest.
// Always the design's 15 twips per pixel, so that the game looks the same at every desktop
// resolution; a desktop's scale enlarges the pixels themselves.
struct TwipsFactors {
  float x = 15;
  float y = 15;
};
TwipsFactors CurrentTwipsPerPixel();

// The y of the bottom of the usable screen area, in twips: the bottom of the primary monitor's
// work area, so that a panel at the top of the screen does not lift the game off the bottom
// edge.
int32_t WorkAreaHeight();

// Window coordinates: twips to pixels, by the whole-number division of the layout.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
PixelRect TwipsToPixels(double left, double top, double width, double height);

// Where a top-level window of the layout lies on the desktop: the rectangle moved from the
// primary monitor's coordinates to the desktop's and, with inside_work_area, cut to the usable
// area so that no window manager needs to move it off a panel. Cutting keeps the rectangle when
// nothing of it lies in the usable area.
PixelRect DesktopRect(const PixelRect& layout_rect, bool inside_work_area);
