#pragma once
// A window decorated with a shape: its preset size, its outline, its face picture.

class Surface;

// The stages of DecorateWindow, as flag bits.
inline constexpr int kDecorateSize = 1;
inline constexpr int kDecorateShape = 2;
inline constexpr int kDecoratePicture = 4;

// Size, outline and picture stages chosen by flag bits; the surface is cleared in between.
void DecorateWindow(int shape, Surface& window, int flags, float x, float y, bool merge);
// The shape's preset size and its outline at the window's origin, the surface cleared and,
// withPicture, its face painted; used for the answer cursor.
void DecorateWindowPreset(int shape, Surface& window, bool withPicture);
