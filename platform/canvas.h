#pragma once
// Where a window's picture is painted: the backend's painter, at whatever scale the screen has,
// in the form's own pixels.

#include <string_view>

#include "platform/colors_and_fonts.h"
#include "platform/pixel_rect.h"

class Drawing;
class Image;
class Region;

class Canvas {
 public:
  // Every later call paints only inside area.
  virtual void SetClip(const Region& area) = 0;
  virtual void DrawImage(int x, int y, const Image& image) = 0;
  virtual void FillRect(const PixelRect& rect, Color color) = 0;
  // One line of text at the top of box, aligned within its width.
  virtual void DrawText(const PixelRect& box, std::string_view text, const FontSpec& font,
                        Color color, Alignment alignment) = 0;
  // A picture kept as what to draw, at the canvas's own scale.
  virtual void Paint(const Drawing& drawing) = 0;

 protected:
  ~Canvas() = default;
};
