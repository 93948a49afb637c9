#pragma once
// A set of whole pixels: the outline of a window, a clipping area, a shape. A value that owns its
// pixels and moves, never copies by accident; every operation is defined for every region,
// the empty one included.

#include <memory>

#include "platform/pixel_rect.h"

class Region {
 public:
  Region();  // empty
  // The rectangle's pixels; an empty or inverted rectangle gives the empty region.
  explicit Region(const PixelRect& rect);
  ~Region();
  Region(Region&&) noexcept;
  Region& operator=(Region&&) noexcept;
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;

  Region Copy() const;
  Region United(const Region& other) const;
  Region Intersected(const Region& other) const;
  void Translate(int dx, int dy);

  bool Empty() const;
  bool Contains(int x, int y) const;
  // The smallest rectangle holding every pixel; all zero for the empty region.
  PixelRect Bounds() const;
  // How many disjoint rectangles it takes to hold exactly its pixels.
  int RectCount() const;

  struct Data;  // the backend's own region
  const Data& Native() const { return *data_; }

 private:
  explicit Region(std::unique_ptr<Data> data);
  std::unique_ptr<Data> data_;
};
