#pragma once
// A picture kept as what to draw, in a form's own pixels, and painted by the backend at the
// screen's own scale: filled rectangles, lines through points, dots and text. A rectangle with
// whole-pixel corners covers whole pixels at any scale, so rules and bars drawn as rectangles
// stay sharp; lines, dots and text are smoothed.

#include <string>
#include <utility>
#include <vector>

#include "platform/colors_and_fonts.h"

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

// Painted in layers, each in the order drawn: rectangles, then lines, then dots, then text.
class Drawing {
 public:
  void Rect(float x, float y, float width, float height, Color color) {
    rects_.push_back({x, y, width, height, color});
  }
  // The outline of a rectangle, one pixel wide, inside it.
  void Frame(float x, float y, float width, float height, Color color) {
    Rect(x, y, width, 1, color);
    Rect(x, y + height - 1, width, 1, color);
    Rect(x, y, 1, height, color);
    Rect(x + width - 1, y, 1, height, color);
  }
  void Line(std::vector<DrawnPoint> points, float width, Color color, bool dashed = false) {
    lines_.push_back({std::move(points), width, color, dashed});
  }
  void Dot(float x, float y, float radius, Color color) { dots_.push_back({x, y, radius, color}); }
  void Text(float x, float y, float width, float height, std::string text, const FontSpec& font,
            Color color, Alignment alignment = Alignment::Left) {
    texts_.push_back({x, y, width, height, std::move(text), font, color, alignment});
  }

  const std::vector<DrawnRect>& Rects() const { return rects_; }
  const std::vector<DrawnLine>& Lines() const { return lines_; }
  const std::vector<DrawnDot>& Dots() const { return dots_; }
  const std::vector<DrawnText>& Texts() const { return texts_; }
  bool Empty() const { return rects_.empty() && lines_.empty() && dots_.empty() && texts_.empty(); }

 private:
  std::vector<DrawnRect> rects_;
  std::vector<DrawnLine> lines_;
  std::vector<DrawnDot> dots_;
  std::vector<DrawnText> texts_;
};
