#pragma once
// An image drawn at its natural size, such as a face picture of a shape. Copies share pixels.

#include <memory>
#include <span>

class Picture {
 public:
  Picture();
  ~Picture();
  Picture(const Picture&);
  Picture& operator=(const Picture&);

  // Decodes a Windows bitmap file; an empty picture when the bytes are not one.
  static Picture FromBitmapFile(std::span<const unsigned char> bytes);

  bool Empty() const;

  struct Data;  // the backend's own image
  const Data& Native() const { return *data_; }

 private:
  std::shared_ptr<const Data> data_;
};
