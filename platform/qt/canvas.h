#pragma once
// A canvas over the toolkit's painter.

#include <QPainter>

#include "platform/canvas.h"

class PainterCanvas final : public Canvas {
 public:
  explicit PainterCanvas(QPainter& painter) : painter_(painter) {}
  void SetClip(const Region& area) override;
  void DrawImage(int x, int y, const Image& image) override;
  void FillRect(const PixelRect& rect, Color color) override;
  void DrawText(const PixelRect& box, std::string_view text, const FontSpec& font, Color color,
                Alignment alignment) override;
  void Paint(const Drawing& drawing) override;

 private:
  QPainter& painter_;
};
