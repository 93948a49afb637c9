#include "platform/qt/canvas.h"

#include "platform/drawing.h"
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

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
                    ToQString(text));
}

// In the form's own pixels: the painter scales them to the screen's.
void PainterCanvas::Paint(const Drawing& drawing) {
  painter_.save();
  for (const DrawnRect& rect : drawing.Rects())
    painter_.fillRect(QRectF(rect.x, rect.y, rect.width, rect.height), ToQColor(rect.color));
  painter_.setRenderHint(QPainter::Antialiasing, true);
  painter_.setBrush(Qt::NoBrush);
  for (const DrawnLine& line : drawing.Lines()) {
    QPolygonF points;
    for (const DrawnPoint& point : line.points)
      points << QPointF(point.x, point.y);
    painter_.setPen(QPen(ToQColor(line.color), line.width,
                         line.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.drawPolyline(points);
  }
  painter_.setPen(Qt::NoPen);
  for (const DrawnDot& dot : drawing.Dots()) {
    painter_.setBrush(ToQColor(dot.color));
    painter_.drawEllipse(QPointF(dot.x, dot.y), dot.radius, dot.radius);
  }
  for (const DrawnText& text : drawing.Texts()) {
    painter_.setFont(ToQFont(text.font));
    painter_.setPen(ToQColor(text.color));
    painter_.drawText(QRectF(text.x, text.y, text.width, text.height),
                      AlignmentFlags(text.alignment) | Qt::AlignVCenter | Qt::TextSingleLine,
                      ToQString(text.text));
  }
  painter_.restore();
}
