#include "menu/chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/image.h"

namespace chart {

namespace {

constexpr int kMostSteps = 6;
constexpr float kRowHeight = 16;

float Width(const std::string& text, const FontSpec& font) {
  return static_cast<float>(std::ceil(TextWidthInPixels(text, font)));
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

FontSpec Font(float points, bool bold) {
  FontSpec font;
  font.size = points;
  font.bold = bold;
  return font;
}

Axis::Axis(double highest, float top, float bottom) : top_(top), bottom_(bottom) {
  highest = std::max(highest, 1.0);
  step_ = 1;
  for (double scale = 1;; scale *= 10) {
    for (double round : {1.0, 2.0, 5.0}) {
      step_ = round * scale;
      if (std::ceil(highest / step_) <= kMostSteps) {
        top_value_ = std::ceil(highest / step_) * step_;
        return;
      }
    }
  }
}

float Axis::At(double value) const {
  return std::round(bottom_ - static_cast<float>(value / top_value_) * (bottom_ - top_));
}

void Axis::Draw(Drawing& drawing, float left, float right) const {
  for (double value = 0; value <= top_value_ + step_ / 2; value += step_) {
    const float y = At(value);
    drawing.Rect(left, y, right - left, 1, value == 0 ? kQuiet : kRule);
    drawing.Text(left - 40, y - 8, 34, 16, Number(value), Font(), kQuiet, Alignment::Right);
  }
}

float LegendLine(Drawing& drawing, float x, float y, Color color, const std::string& word,
                 bool dashed) {
  drawing.Line({{x, y}, {x + 18, y}}, 2, color, dashed);
  Label(drawing, x + 22, y, word);
  return x + 22 + Width(word, Font()) + 14;
}

float LegendBox(Drawing& drawing, float x, float y, Color color, const std::string& word) {
  drawing.Rect(x, y - 5, 12, 10, color);
  Label(drawing, x + 16, y, word);
  return x + 16 + Width(word, Font()) + 14;
}

float LegendDot(Drawing& drawing, float x, float y, Color color, const std::string& word) {
  drawing.Dot(x + 4, y, 3, color);
  Label(drawing, x + 12, y, word);
  return x + 12 + Width(word, Font()) + 14;
}

void Label(Drawing& drawing, float x, float y, const std::string& text, Color color, float points,
           bool bold) {
  const FontSpec font = Font(points, bold);
  drawing.Text(x, y - kRowHeight / 2, Width(text, font) + 2, kRowHeight, text, font, color);
}

}  // namespace chart
