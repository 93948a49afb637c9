#pragma once
// An image drawn at its natural size, such as a face picture of a shape.

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
  int Width() const;  // pixels
  int Height() const;

  struct Data;  // defined inside the platform
  const Data& Pixels() const { return *data_; }

 private:
  std::shared_ptr<const Data> data_;
};
