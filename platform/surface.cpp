#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "platform/handle_table.h"
#include "platform/qt_internal.h"
#include "platform/system_metrics.h"

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

Surface::Surface()
    : image_(std::make_unique<Image>()),
      hwnd_(AddHandle(SurfaceObject{this})),
      hdc_(AddHandle(SurfaceObject{this})) {}

Surface::~Surface() {
  RemoveHandle(hwnd_);
  RemoveHandle(hdc_);
  if (outline_) RemoveHandle(outline_);
}

const QRegion* OutlineOf(const Surface& surface) {
  const auto* outline = LookupAs<RegionObject>(surface.Outline());
  return outline ? &outline->region : nullptr;
}

void Surface::SetOutline(int32_t region, bool redraw) {
  if (outline_) RemoveHandle(outline_);
  outline_ = region;
  if (auto* object = LookupAs<RegionObject>(region)) object->owner = this;
  OutlineChanged();
  if (redraw) InvalidateAll();
}

void Surface::PaintPicture(const Picture& picture, float x, float y) {
  if (picture.Empty() || image_->pixels.isNull()) return;
  {
    ImagePainter painter(*image_);
    painter.drawImage(TwipsToPixelsX(x), TwipsToPixelsY(y), picture.Pixels().pixels);
  }
  InvalidateAll();
}

void Surface::SetLeft(float twips) {
  Move(twips, top_);
}
void Surface::SetTop(float twips) {
  Move(left_, twips);
}

void Surface::SetWidth(float twips) {
  width_ = twips;
  ResizeImage();
  GeometryChanged();
}

void Surface::SetHeight(float twips) {
  height_ = twips;
  ResizeImage();
  GeometryChanged();
}

void Surface::Move(float left, float top) {
  if (left == left_ && top == top_) return;
  left_ = left;
  top_ = top;
  GeometryChanged();
}

PixelRect Surface::PixelBounds() const {
  return {TwipsToPixelsX(left_), TwipsToPixelsY(top_), TwipsToPixelsX(width_),
          TwipsToPixelsY(height_)};
}

void Surface::SetBackColor(Color color) {
  back_color_ = color;
  InvalidateAll();
}

void Surface::ResizeImage() {
  PixelRect bounds = PixelBounds();
  QSize size(std::max(bounds.width, 0), std::max(bounds.height, 0));
  QImage& pixels = image_->pixels;
  if (pixels.size() == size) return;
  // What was drawn keeps its place; new area shows the background.
  QImage resized(size, QImage::Format_RGB32);
  resized.fill(ToQColor(back_color_));
  if (!pixels.isNull() && !size.isEmpty()) {
    QPainter painter(&resized);
    painter.drawImage(0, 0, pixels);
  }
  pixels = std::move(resized);
}

void Surface::InvalidateAll() {
  PixelRect bounds = PixelBounds();
  Invalidate({0, 0, bounds.width, bounds.height});
}

void Surface::Cls() {
  image_->pixels.fill(ToQColor(back_color_));
  CurrentX = 0;
  CurrentY = 0;
  InvalidateAll();
}

void Surface::Line(float x1, float y1, float x2, float y2, Color color) {
  QImage& pixels = image_->pixels;
  if (pixels.isNull()) return;
  QPoint from(TwipsToPixelsX(x1), TwipsToPixelsY(y1));
  QPoint to(TwipsToPixelsX(x2), TwipsToPixelsY(y2));
  // A line ends just before its end point, so that lines drawn end to end do not overlap.
  bool keep_end = from != to && pixels.rect().contains(to);
  QRgb end_pixel = keep_end ? pixels.pixel(to) : 0;
  {
    ImagePainter painter(*image_);
    painter.setPen(QPen(ToQColor(color), 0));
    painter.drawLine(from, to);
  }
  if (keep_end) pixels.setPixel(to, end_pixel);
  InvalidateAll();
}

void Surface::Print(std::string_view text) {
  QImage& pixels = image_->pixels;
  QFont font = ToQFont(font_);
  if (!pixels.isNull()) {
    ImagePainter painter(*image_);
    painter.setFont(font);
    painter.setPen(ToQColor(fore_color_));
    QFontMetricsF metrics(font, &pixels);
    QPointF baseline(TwipsToPixelsX(CurrentX), TwipsToPixelsY(CurrentY) + metrics.ascent());
    painter.drawText(baseline, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  }
  CurrentX = 0;
  CurrentY += TextHeight(text);
  InvalidateAll();
}

float Surface::TextWidth(std::string_view text) const {
  QFontMetricsF metrics(ToQFont(font_));
  double px = metrics.horizontalAdvance(
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return static_cast<float>(std::round(px) * CurrentTwipsPerPixel().x);
}

float Surface::TextHeight(std::string_view) const {
  QFontMetricsF metrics(ToQFont(font_));
  return static_cast<float>(std::ceil(metrics.height()) * CurrentTwipsPerPixel().y);
}
