#pragma once
// The region behind Region, for the backend's painting and window code.

#include <QRegion>

#include "platform/region.h"

struct Region::Data {
  QRegion region;
};

inline QRect ToQRect(const PixelRect& r) {
  return {r.x, r.y, r.width, r.height};
}

inline PixelRect FromQRect(const QRect& r) {
  return {r.x(), r.y(), r.width(), r.height()};
}

inline const QRegion& ToQRegion(const Region& region) {
  return region.Native().region;
}
