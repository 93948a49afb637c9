#pragma once
// The primary monitor in twips, as the layout reads it.

namespace Screen {
float Width();
float Height();
float TwipsPerPixelX();
float TwipsPerPixelY();
}  // namespace Screen
