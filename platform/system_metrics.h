#pragma once
// Screen metrics under the names the game's layout code uses.

inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CYFULLSCREEN = 17;

// The primary screen as the layout sees it, in logical pixels.
struct DisplayMetrics {
  int width_px = 0;
  int height_px = 0;
  int work_area_bottom_px = 0;  // y just below the usable area (top of a bottom panel)
  int caption_px = 0;           // height of a window caption
  float twips_per_pixel_x = 15;
  float twips_per_pixel_y = 15;
};

DisplayMetrics CurrentDisplayMetrics();

// Just the twips-per-pixel factors: what every twips conversion needs, without the rest.
struct TwipsFactors {
  float x = 15;
  float y = 15;
};
TwipsFactors CurrentTwipsPerPixel();
// Replaces the real screen's metrics (nullptr: back to the real screen), for a layout that
// must not depend on the machine it runs on.
void OverrideDisplayMetrics(const DisplayMetrics* metrics);

// SM_CYFULLSCREEN + SM_CYCAPTION is the bottom of the primary screen's work area, so a panel
// at the top of the screen does not lift the game off the bottom edge.
int GetSystemMetrics(int index);

// Window coordinates: twips to pixels, by the whole-number division of the layout.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
