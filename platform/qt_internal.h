#pragma once
// Qt types behind the platform's plain headers; included by platform sources only.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <optional>

#include "platform/form.h"
#include "platform/picture.h"
#include "platform/surface.h"

struct Surface::Image {
  QImage pixels;
  std::optional<QRegion> clip;  // in image pixels
};

struct Picture::Data {
  QImage pixels;
};

// A painter on the surface's image that honours its clipping area.
class ImagePainter : public QPainter {
 public:
  explicit ImagePainter(Surface::Image& image) : QPainter(&image.pixels) {
    if (image.clip) setClipRegion(*image.clip);
  }
};

// The outline of a surface in its own pixels, or nothing while it is rectangular.
const QRegion* OutlineOf(const Surface& surface);

inline QColor ToQColor(Color color) {
  return QColor::fromRgb(color);
}
inline QRect ToQRect(const PixelRect& r) {
  return {r.x, r.y, r.width, r.height};
}
QFont ToQFont(const FontSpec& font);

// Paints what the player sees of the form inside clip (form pixel coordinates).
void ComposeForm(const Form& form, QPainter& painter, const QRect& clip);
