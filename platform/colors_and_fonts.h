#pragma once
// How the design names colours and fonts.

#include <cstdint>
#include <string>

using Color = uint32_t;  // 0xRRGGBB

constexpr Color Rgb(int red, int green, int blue) {
  return (static_cast<Color>(red & 0xFF) << 16) | (static_cast<Color>(green & 0xFF) << 8) |
         static_cast<Color>(blue & 0xFF);
}

inline constexpr Color kBlack = Rgb(0, 0, 0);
inline constexpr Color kWhite = Rgb(255, 255, 255);
inline constexpr Color kButtonFace = Rgb(192, 192, 192);

enum class Alignment { Left, Right, Center };

struct FontSpec {
  std::string name = "ＭＳ Ｐゴシック";
  float size = 9;  // points
  bool bold = false;
  bool italic = false;
};
