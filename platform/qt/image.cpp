#include "platform/qt/image.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/qt/picture.h"
#include "platform/qt/region.h"

namespace {

// A painter that honours the image's clipping area.
class ClippedPainter : public QPainter {
 public:
  explicit ClippedPainter(Image::Data& image) : QPainter(&image.pixels) {
    if (image.clip) setClipRegion(*image.clip);
  }
};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QFont ToQFont(const FontSpec& font) {
  QFont result(QString::fromStdString(font.name));
  // In the design's pixels (20 twips a point, 15 a pixel), whatever the desktop's dots per
  // inch: the layout and the face pictures are made for them.
  constexpr double kPixelsPerPoint = 20.0 / 15.0;
  result.setPixelSize(std::max(1, static_cast<int>(std::lround(font.size * kPixelsPerPoint))));
  result.setBold(font.bold);
  result.setItalic(font.italic);
  return result;
}

Image::Image() : data_(std::make_unique<Data>()) {}
Image::~Image() = default;

void Image::Resize(int width, int height, Color fill) {
  QSize size(std::max(width, 0), std::max(height, 0));
  QImage& pixels = data_->pixels;
  if (pixels.size() == size) return;
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(ToQColor(fill));
  if (!pixels.isNull() && !size.isEmpty()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, pixels);
  }
  pixels = std::move(resized);
}

void Image::Fill(Color color) {
  data_->pixels.fill(ToQColor(color));
}

void Image::SetClip(const Region* clip) {
  if (clip) {
    data_->clip = ToQRegion(*clip);
  } else {
    data_->clip.reset();
  }
}

void Image::FillRegion(const Region& area, Color color) {
  if (data_->pixels.isNull()) return;
  ClippedPainter painter(*data_);
  for (const QRect& rect : ToQRegion(area))
    painter.fillRect(rect, ToQColor(color));
}

void Image::DrawLine(int x1, int y1, int x2, int y2, Color color) {
  QImage& pixels = data_->pixels;
  if (pixels.isNull()) return;
  QPoint from(x1, y1);
  QPoint to(x2, y2);
  bool keep_end = from != to && pixels.rect().contains(to);
  QRgb end_pixel = keep_end ? pixels.pixel(to) : 0;
  {
    ClippedPainter painter(*data_);
    painter.setPen(QPen(ToQColor(color), 0));
    painter.drawLine(from, to);
  }
  if (keep_end) pixels.setPixel(to, end_pixel);
}

void Image::DrawText(int x, int y, std::string_view text, const FontSpec& font, Color color) {
  if (data_->pixels.isNull()) return;
  QFont qfont = ToQFont(font);
  ClippedPainter painter(*data_);
  painter.setFont(qfont);
  painter.setPen(ToQColor(color));
  QFontMetricsF metrics(qfont, &data_->pixels);
  painter.drawText(QPointF(x, y + metrics.ascent()), ToQString(text));
}

void Image::DrawPicture(int x, int y, const Picture& picture) {
  if (picture.Empty() || data_->pixels.isNull()) return;
  ClippedPainter painter(*data_);
  painter.drawImage(x, y, ToQImage(picture));
}

void Image::CopyFrom(const Image& source, int source_x, int source_y, int width, int height, int x,
                     int y) {
  // Nothing to copy; QImage::copy would take an empty rectangle for the whole image.
  if (width <= 0 || height <= 0 || data_->pixels.isNull()) return;
  // A copy first, in case source is this image.
  QImage pixels = source.data_->pixels.copy(source_x, source_y, width, height);
  ClippedPainter painter(*data_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(x, y, pixels);
}

double TextWidthInPixels(std::string_view text, const FontSpec& font) {
  return QFontMetricsF(ToQFont(font)).horizontalAdvance(ToQString(text));
}

int LineHeightInPixels(const FontSpec& font) {
  return static_cast<int>(std::ceil(QFontMetricsF(ToQFont(font)).height()));
}
