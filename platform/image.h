#pragma once
// A window's or picture box's persistent image: whole pixels that keep what was drawn on them,
// with an optional clipping area that limits every drawing call but Fill.

#include <memory>
#include <string_view>

#include "platform/colors_and_fonts.h"
#include "platform/region.h"

class Picture;

class Image {
 public:
  Image();  // no pixels
  ~Image();
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  // What was drawn keeps its place; new area shows the fill colour. Negative sizes are 0.
  void Resize(int width, int height, Color fill);
  // Every pixel, whatever the clipping area.
  void Fill(Color color);
  void SetClip(const Region* clip);  // a copy; nullptr removes it

  void FillRegion(const Region& area, Color color);
  // A one-pixel line that ends just before its end point, so that lines drawn end to end do not
  // overlap.
  void DrawLine(int x1, int y1, int x2, int y2, Color color);
  // One line of text with its top-left corner at (x, y).
  void DrawText(int x, int y, std::string_view text, const FontSpec& font, Color color);
  void DrawPicture(int x, int y, const Picture& picture);
  // Copies width x height pixels from (source_x, source_y) of source to (x, y), replacing what
  // is there; source may be this image.
  void CopyFrom(const Image& source, int source_x, int source_y, int width, int height, int x,
                int y);

  struct Data;  // the backend's own image
  const Data& Native() const { return *data_; }

 private:
  std::unique_ptr<Data> data_;
};

// Text measured in pixels, in this font: the advance of a line, and the height of one.
double TextWidthInPixels(std::string_view text, const FontSpec& font);
int LineHeightInPixels(const FontSpec& font);
