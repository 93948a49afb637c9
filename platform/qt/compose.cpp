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

}  // namespace

void ComposeForm(const Form& form, QPainter& painter, const QRect& clip) {
  // Nothing outside the outline is part of the window.
  QRegion visible(clip);
  if (const Region* outline = form.Outline()) visible &= ToQRegion(*outline);
  painter.setClipRegion(visible);
  painter.drawImage(0, 0, ToQImage(form.PersistentImage()));
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

Snapshot Compose(const Form& form) {
  PixelRect bounds = form.PixelBounds();
  QImage image(std::max(bounds.width, 0), std::max(bounds.height, 0), QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  if (!image.isNull()) {
    QPainter painter(&image);
    ComposeForm(form, painter, image.rect());
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
