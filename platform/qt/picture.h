#pragma once
// The pixels behind Picture.

#include <QImage>

#include "platform/picture.h"

struct Picture::Data {
  QImage pixels;
};

inline const QImage& ToQImage(const Picture& picture) {
  return picture.Native().pixels;
}
