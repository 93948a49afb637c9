#include "platform/surface.h"

#include <cmath>

#include "platform/handle_table.h"
#include "platform/system_metrics.h"

Surface::Surface()
    : hwnd_(Handles().Add(SurfaceRef{this})), hdc_(Handles().Add(SurfaceRef{this})) {}

Surface::~Surface() {
  Handles().RemoveSurface(hwnd_);
  Handles().RemoveSurface(hdc_);
}

void Surface::SetOutline(std::optional<Region> outline, bool redraw) {
  outline_ = std::move(outline);
  OutlineChanged();
  if (redraw) InvalidateAll();
}

void Surface::SetWidth(float twips) {
  width_ = twips;
  ResizeImage();
  GeometryChanged();
}

void Surface::SetHeight(float twips) {
  height_ = twips;
  ResizeImage();
  GeometryChanged();
}

void Surface::Move(float left, float top) {
  if (left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  GeometryChanged();
}

PixelRect Surface::PixelBounds() const {
  return TwipsToPixels(left_, top_, width_, height_);
}

void Surface::SetBackColor(Color color) {
  back_color_ = color;
  InvalidateAll();
}

void Surface::ResizeImage() {
  PixelRect bounds = PixelBounds();
  image_.Resize(bounds.width, bounds.height, back_color_);
}

void Surface::InvalidateAll() {
  PixelRect bounds = PixelBounds();
  Invalidate({0, 0, bounds.width, bounds.height});
}

void Surface::Cls() {
  image_.Fill(back_color_);
  CurrentX = 0;
  CurrentY = 0;
  InvalidateAll();
}

void Surface::Line(float x1, float y1, float x2, float y2, Color color) {
  image_.DrawLine(TwipsToPixelsX(x1), TwipsToPixelsY(y1), TwipsToPixelsX(x2), TwipsToPixelsY(y2),
                  color);
  InvalidateAll();
}

void Surface::Print(std::string_view text) {
  image_.DrawText(TwipsToPixelsX(CurrentX), TwipsToPixelsY(CurrentY), text, font_, fore_color_);
  CurrentX = 0;
  CurrentY += TextHeight(text);
  InvalidateAll();
}

float Surface::TextWidth(std::string_view text) const {
  double pixels = std::round(TextWidthInPixels(text, font_));
  return static_cast<float>(pixels * CurrentTwipsPerPixel().x);
}

float Surface::TextHeight(std::string_view) const {
  return static_cast<float>(LineHeightInPixels(font_) * CurrentTwipsPerPixel().y);
}

void Surface::PaintPicture(const Picture& picture, float x, float y) {
  image_.DrawPicture(TwipsToPixelsX(x), TwipsToPixelsY(y), picture);
  InvalidateAll();
}

void Surface::SetClip(const Region* clip) {
  image_.SetClip(clip);
}

void Surface::FillRegion(const Region& area, Color color) {
  image_.FillRegion(area, color);
  InvalidateAll();
}

void Surface::CopyPixels(const Surface& from, int source_x, int source_y, int width, int height,
                         int x, int y) {
  image_.CopyFrom(from.image_, source_x, source_y, width, height, x, y);
  InvalidateAll();
}
