#pragma once
// What forms and picture boxes share: twips geometry, colours, a font, a persistent image and
// an outline.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/colors_and_fonts.h"
#include "platform/image.h"
#include "platform/pixel_rect.h"
#include "platform/region.h"

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
  const Image& PersistentImage() const { return image_; }

  // Handles for the region and drawing calls: the window (outline) and its drawing surface,
  // whose clipping area limits every drawing call above except Cls.
  int32_t hWnd() const { return hwnd_; }
  int32_t hDC() const { return hdc_; }
  // The outline, in the surface's own pixels; nullptr while it is rectangular.
  const Region* Outline() const { return outline_ ? &*outline_ : nullptr; }
  void SetOutline(std::optional<Region> outline, bool redraw);

  // The drawing surface's own calls, in pixels.
  void SetClip(const Region* clip);
  void FillRegion(const Region& area, Color color);
  void CopyPixels(const Surface& from, int source_x, int source_y, int width, int height, int x,
                  int y);

  // Shows what was drawn on the image.
  void InvalidateAll();

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
  Image image_;
  int32_t hwnd_;
  int32_t hdc_;
  std::optional<Region> outline_;
};
