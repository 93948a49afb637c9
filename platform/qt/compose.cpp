#include "platform/qt/compose.h"

#include <algorithm>

#include "platform/form.h"
#include "platform/qt/image.h"
#include "platform/qt/region.h"
#include "platform/testing.h"

namespace {

int AlignmentFlags(Alignment alignment) {
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

void PaintLabel(QPainter& painter, const TextLabel& label) {
  QRect rect = ToQRect(label.PixelBounds());
  if (label.Back() == BackStyle::Opaque) painter.fillRect(rect, ToQColor(label.BackColor()));
  painter.setFont(ToQFont(label.Font()));
  painter.setPen(ToQColor(label.ForeColor()));
  painter.drawText(rect, AlignmentFlags(label.TextAlignment()) | Qt::AlignTop | Qt::TextSingleLine,
                   QString::fromStdString(label.Caption()));
}

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// In the form's own pixels: the painter scales them to the screen's.
void PaintDrawing(QPainter& painter, const Drawing& drawing) {
  painter.save();
  for (const DrawnRect& rect : drawing.Rects())
    painter.fillRect(QRectF(rect.x, rect.y, rect.width, rect.height), ToQColor(rect.color));
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  for (const DrawnLine& line : drawing.Lines()) {
    QPolygonF points;
    for (const DrawnPoint& point : line.points)
      points << QPointF(point.x, point.y);
    painter.setPen(QPen(ToQColor(line.color), line.width,
                        line.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(points);
  }
  painter.setPen(Qt::NoPen);
  for (const DrawnDot& dot : drawing.Dots()) {
    painter.setBrush(ToQColor(dot.color));
    painter.drawEllipse(QPointF(dot.x, dot.y), dot.radius, dot.radius);
  }
  for (const DrawnText& text : drawing.Texts()) {
    painter.setFont(ToQFont(text.font));
    painter.setPen(ToQColor(text.color));
    painter.drawText(QRectF(text.x, text.y, text.width, text.height),
                     AlignmentFlags(text.alignment) | Qt::AlignVCenter | Qt::TextSingleLine,
                     ToQString(text.text));
  }
  painter.restore();
}

}  // namespace

void ComposeForm(const Form& form, QPainter& painter, const QRect& clip) {
  // Nothing outside the outline is part of the window.
  QRegion visible(clip);
  if (const Region* outline = form.Outline()) visible &= ToQRegion(*outline);
  painter.setClipRegion(visible);
  painter.drawImage(0, 0, ToQImage(form.PersistentImage()));
  if (!form.Drawn().Empty()) PaintDrawing(painter, form.Drawn());
  for (const auto& label : form.Labels()) {
    if (!label->Visible()) continue;
    painter.setClipRegion(visible & ToQRect(label->PixelBounds()));
    PaintLabel(painter, *label);
  }
  for (const auto& picture : form.PictureBoxes()) {
    if (!picture->Visible()) continue;
    PixelRect at = picture->PixelBounds();
    QRegion area(ToQRect(at));
    if (const Region* outline = picture->Outline()) {
      area &= ToQRegion(*outline).translated(at.x, at.y);
    }
    painter.setClipRegion(visible & area);
    painter.drawImage(at.x, at.y, ToQImage(picture->PersistentImage()));
  }
}

Snapshot Compose(const Form& form, double device_pixel_ratio) {
  PixelRect bounds = form.PixelBounds();
  const QRect area(0, 0, std::max(bounds.width, 0), std::max(bounds.height, 0));
  QImage image(area.size() * device_pixel_ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(device_pixel_ratio);
  image.fill(Qt::transparent);
  if (!image.isNull()) {
    QPainter painter(&image);
    ComposeForm(form, painter, area);
  }
  Snapshot snapshot;
  snapshot.width = image.width();
  snapshot.height = image.height();
  snapshot.argb.resize(static_cast<size_t>(snapshot.width) * snapshot.height);
  for (int y = 0; y < snapshot.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
    std::copy(row, row + snapshot.width,
              snapshot.argb.begin() + static_cast<long>(y) * snapshot.width);
  }
  return snapshot;
}
