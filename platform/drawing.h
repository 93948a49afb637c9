#pragma once
// A picture kept as what to draw, in a form's own pixels, and painted by the backend at the
// screen's own scale: filled rectangles, lines through points, dots and text. A rectangle with
// whole-pixel corners covers whole pixels at any scale, so rules and bars drawn as rectangles
// stay sharp; lines, dots and text are smoothed.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "platform/colors_and_fonts.h"
#include "platform/controls.h"

struct DrawnRect {
  float x, y, width, height;
  Color color;
};

struct DrawnPoint {
  float x, y;
};

struct DrawnLine {
  std::vector<DrawnPoint> points;
  float width;
  Color color;
  bool dashed;
};

struct DrawnDot {
  float x, y, radius;
  Color color;
};

// One line of text in a box: aligned across it as given, centred from top to bottom.
struct DrawnText {
  float x, y, width, height;
  std::string text;
  FontSpec font;
  Color color;
  Alignment alignment;
};

class Drawing {
 public:
  using Item = std::variant<DrawnRect, DrawnLine, DrawnDot, DrawnText>;

  void Rect(float x, float y, float width, float height, Color color) {
    items_.emplace_back(std::in_place_type<DrawnRect>, x, y, width, height, color);
  }
  // The outline of a rectangle, one pixel wide, inside it.
  void Frame(float x, float y, float width, float height, Color color) {
    Rect(x, y, width, 1, color);
    Rect(x, y + height - 1, width, 1, color);
    Rect(x, y, 1, height, color);
    Rect(x + width - 1, y, 1, height, color);
  }
  void Line(std::vector<DrawnPoint> points, float width, Color color, bool dashed = false) {
    items_.emplace_back(std::in_place_type<DrawnLine>, std::move(points), width, color, dashed);
  }
  void Dot(float x, float y, float radius, Color color) {
    items_.emplace_back(std::in_place_type<DrawnDot>, x, y, radius, color);
  }
  void Text(float x, float y, float width, float height, std::string text, const FontSpec& font,
            Color color, Alignment alignment = Alignment::Left) {
    items_.emplace_back(std::in_place_type<DrawnText>, x, y, width, height, std::move(text), font,
                        color, alignment);
  }

  const std::vector<Item>& Items() const { return items_; }

 private:
  std::vector<Item> items_;
};
