#pragma once
// The pixels behind Image, for the backend's window and composition code.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <optional>

#include "platform/image.h"

struct Image::Data {
  QImage pixels;
  std::optional<QRegion> clip;
};

inline const QImage& ToQImage(const Image& image) {
  return image.Native().pixels;
}

QFont ToQFont(const FontSpec& font);

inline QColor ToQColor(Color color) {
  return QColor::fromRgb(color);
}
