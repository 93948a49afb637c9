#pragma once
// Files compiled into the executable.

#include <span>

std::span<const unsigned char> CellFaceBitmap();    // 18 x 18, 24-bit
std::span<const unsigned char> CursorFaceBitmap();  // 34 x 35, 24-bit
std::span<const unsigned char> AppIconBitmap();     // 32 x 32, 16 colours
