#pragma once
// What forms and picture boxes share: twips geometry, colours, a font and a persistent image.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/pixel_rect.h"

using Color = uint32_t;  // 0xRRGGBB

constexpr Color Rgb(int red, int green, int blue) {
  return (static_cast<Color>(red & 0xFF) << 16) | (static_cast<Color>(green & 0xFF) << 8) |
         static_cast<Color>(blue & 0xFF);
}

inline constexpr Color kBlack = Rgb(0, 0, 0);
inline constexpr Color kWhite = Rgb(255, 255, 255);
inline constexpr Color kButtonFace = Rgb(192, 192, 192);

struct FontSpec {
  std::string name = "ＭＳ Ｐゴシック";
  float size = 9;  // points
  bool bold = false;
  bool italic = false;
};

// Pixels as the player sees them; alpha 0 where the window is not.
struct Snapshot {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;

  uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
  bool Shows(int x, int y) const { return (At(x, y) >> 24) != 0; }
  Color ColorAt(int x, int y) const { return At(x, y) & 0xFFFFFF; }
};

class Picture;

class Surface {
 public:
  Surface();
  virtual ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void SetLeft(float twips);
  void SetTop(float twips);
  void SetWidth(float twips);
  void SetHeight(float twips);
  // Moves keeping the size.
  void Move(float left, float top);
  PixelRect PixelBounds() const;

  Color BackColor() const { return back_color_; }
  void SetBackColor(Color color);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color color) { fore_color_ = color; }
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font) { font_ = font; }

  // The persistent image: everything drawn stays and is shown on every repaint.
  float CurrentX = 0;
  float CurrentY = 0;
  void Cls();  // clears to the background colour and homes the print position
  void Line(float x1, float y1, float x2, float y2, Color color);
  // Prints at (CurrentX, CurrentY) in the fore colour and font, then moves to the next line.
  void Print(std::string_view text);
  float TextWidth(std::string_view text) const;  // twips, in this surface's font
  float TextHeight(std::string_view text) const;
  // Draws the picture at its natural size with its top-left corner at (x, y) twips.
  void PaintPicture(const Picture& picture, float x, float y);

  // Handles for the region and drawing calls: the window (outline) and its drawing surface,
  // whose clipping area limits every drawing call above except Cls.
  int32_t hWnd() const { return hwnd_; }
  int32_t hDC() const { return hdc_; }
  // The outline region, owned by this surface; 0 while it is rectangular.
  int32_t Outline() const { return outline_; }
  void SetOutline(int32_t region, bool redraw);

  // Shows what was drawn on the image behind the drawing calls' back.
  void InvalidateAll();

  struct Image;  // defined inside the platform
  Image& PersistentImage() const { return *image_; }

 protected:
  // Pixels of this surface that changed, in its own pixel coordinates.
  virtual void Invalidate(const PixelRect& rect) = 0;
  virtual void GeometryChanged() = 0;
  virtual void OutlineChanged() = 0;

 private:
  void ResizeImage();

  float left_ = 0;
  float top_ = 0;
  float width_ = 0;
  float height_ = 0;
  Color back_color_ = kButtonFace;
  Color fore_color_ = kBlack;
  FontSpec font_;
  std::unique_ptr<Image> image_;
  int32_t hwnd_;
  int32_t hdc_;
  int32_t outline_ = 0;
};
