#pragma once
// What the views of "成績の記録" share: their colours and fonts, a value axis with round steps,
// and the small legend entries.

#include <string>

#include "platform/colors_and_fonts.h"
#include "platform/drawing.h"

namespace chart {

inline constexpr Color kBackground = Rgb(250, 250, 247);
inline constexpr Color kPanel = Rgb(255, 255, 255);
inline constexpr Color kRule = Rgb(214, 214, 210);
inline constexpr Color kText = Rgb(34, 34, 34);
inline constexpr Color kQuiet = Rgb(110, 110, 110);
inline constexpr Color kBar = Rgb(66, 120, 178);
inline constexpr Color kWrong = Rgb(196, 48, 40);
inline constexpr Color kBest = Rgb(226, 128, 20);
inline constexpr Color kMedian = Rgb(70, 70, 70);
inline constexpr Color kPersonalBest = Rgb(40, 150, 72);
inline constexpr Color kCarried = Rgb(150, 150, 150);

FontSpec Font(float points = 9, bool bold = false);

// A value axis from 0 to a round top with at most six steps, over a span of pixels.
class Axis {
 public:
  Axis(double highest, float top, float bottom);
  double Top() const { return top_value_; }
  double Step() const { return step_; }
  // The pixel row of a value, whole rows for whole values' bars.
  float At(double value) const;
  // Rules at every step and their values on the left of x.
  void Draw(Drawing& drawing, float left, float right) const;

 private:
  double top_value_;
  double step_;
  float top_;
  float bottom_;
};

// A swatch and its word; returns where the next one begins.
float LegendLine(Drawing& drawing, float x, float y, Color color, const std::string& word,
                 bool dashed = false);
float LegendBox(Drawing& drawing, float x, float y, Color color, const std::string& word);
float LegendDot(Drawing& drawing, float x, float y, Color color, const std::string& word);

// A line of text, left-aligned at x, centred on the row of y.
void Label(Drawing& drawing, float x, float y, const std::string& text, Color color = kText,
           float points = 9, bool bold = false);

}  // namespace chart
