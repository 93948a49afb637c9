#include "platform/qt/canvas.h"

#include "platform/qt/image.h"
#include "platform/qt/region.h"

namespace {

Qt::Alignment AlignmentFlags(Alignment alignment) {
  switch (alignment) {
    case Alignment::Right:
      return Qt::AlignRight;
    case Alignment::Center:
      return Qt::AlignHCenter;
    case Alignment::Left:
      break;
  }
  return Qt::AlignLeft;
}

}  // namespace

void PainterCanvas::SetClip(const Region& area) {
  painter_.setClipRegion(ToQRegion(area));
}

void PainterCanvas::DrawImage(int x, int y, const Image& image) {
  painter_.drawImage(x, y, ToQImage(image));
}

void PainterCanvas::FillRect(const PixelRect& rect, Color color) {
  painter_.fillRect(ToQRect(rect), ToQColor(color));
}

void PainterCanvas::DrawText(const PixelRect& box, std::string_view text, const FontSpec& font,
                             Color color, Alignment alignment) {
  painter_.setFont(ToQFont(font));
  painter_.setPen(ToQColor(color));
  painter_.drawText(ToQRect(box), AlignmentFlags(alignment) | Qt::AlignTop | Qt::TextSingleLine,
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}
