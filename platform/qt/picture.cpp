#include "platform/qt/picture.h"

Picture::Picture() : data_(std::make_shared<Data>()) {}
Picture::~Picture() = default;
Picture::Picture(const Picture&) = default;
Picture& Picture::operator=(const Picture&) = default;

Picture Picture::FromBitmapFile(std::span<const unsigned char> bytes) {
  auto data = std::make_shared<Data>();
  data->pixels = QImage::fromData(bytes.data(), static_cast<int>(bytes.size()), "BMP")
                     .convertToFormat(QImage::Format_RGB32);
  Picture picture;
  picture.data_ = std::move(data);
  return picture;
}

bool Picture::Empty() const {
  return data_->pixels.isNull();
}
