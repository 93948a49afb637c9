#include "platform/qt/region.h"

Region::Region() : data_(std::make_unique<Data>()) {}

Region::Region(const PixelRect& rect) : Region() {
  if (!rect.Empty()) data_->region = QRegion(rect.x, rect.y, rect.width, rect.height);
}

Region::Region(std::unique_ptr<Data> data) : data_(std::move(data)) {}
Region::~Region() = default;
// A moved-from region is empty, not broken.
Region::Region(Region&& other) noexcept : data_(std::make_unique<Data>()) {
  std::swap(data_, other.data_);
}
Region& Region::operator=(Region&& other) noexcept {
  std::swap(data_, other.data_);
  other.data_->region = QRegion();
  return *this;
}

Region Region::Copy() const {
  return Region(std::make_unique<Data>(*data_));
}

Region Region::United(const Region& other) const {
  return Region(std::make_unique<Data>(Data{data_->region.united(other.data_->region)}));
}

Region Region::Intersected(const Region& other) const {
  return Region(std::make_unique<Data>(Data{data_->region.intersected(other.data_->region)}));
}

void Region::Translate(int dx, int dy) {
  data_->region.translate(dx, dy);
}

bool Region::Empty() const {
  return data_->region.isEmpty();
}

bool Region::Contains(int x, int y) const {
  return data_->region.contains(QPoint(x, y));
}

PixelRect Region::Bounds() const {
  if (Empty()) return {};
  QRect box = data_->region.boundingRect();
  return {box.x(), box.y(), box.width(), box.height()};
}

int Region::RectCount() const {
  return data_->region.rectCount();
}
