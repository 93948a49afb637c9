#include "platform/controls.h"

#include "platform/system_metrics.h"

TextLabel::TextLabel(ControlOwner& owner, std::string name, int index)
    : owner_(owner), name_(std::move(name)), index_(index) {}

void TextLabel::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Invalidate();
}

void TextLabel::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  owner_.InvalidateArea(PixelBounds());
}

void TextLabel::SetAlignment(Alignment alignment) {
  alignment_ = alignment;
  Invalidate();
}

void TextLabel::SetFont(const FontSpec& font) {
  font_ = font;
  Invalidate();
}

void TextLabel::SetBackColor(Color color) {
  back_color_ = color;
  Invalidate();
}

void TextLabel::SetBackStyle(BackStyle style) {
  back_style_ = style;
  Invalidate();
}

void TextLabel::SetForeColor(Color color) {
  fore_color_ = color;
  Invalidate();
}

void TextLabel::Move(float left, float top) {
  Move(left, top, width_, height_);
}

void TextLabel::Move(float left, float top, float width, float height) {
  bool shown = visible_;
  if (shown) owner_.InvalidateArea(PixelBounds());
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (shown) owner_.InvalidateArea(PixelBounds());
}

PixelRect TextLabel::PixelBounds() const {
  return TwipsToPixels(left_, top_, width_, height_);
}

void TextLabel::CopyDesign(const TextLabel& other) {
  caption_ = other.caption_;
  visible_ = other.visible_;
  alignment_ = other.alignment_;
  font_ = other.font_;
  back_color_ = other.back_color_;
  back_style_ = other.back_style_;
  fore_color_ = other.fore_color_;
  left_ = other.left_;
  top_ = other.top_;
  width_ = other.width_;
  height_ = other.height_;
  Invalidate();
}

void TextLabel::Invalidate() const {
  if (visible_) owner_.InvalidateArea(PixelBounds());
}

PictureBox::PictureBox(ControlOwner& owner, std::string name, int index)
    : owner_(owner), name_(std::move(name)), index_(index), held_(std::make_unique<Picture>()) {}

const Picture& PictureBox::Held() const {
  return *held_;
}

void PictureBox::Hold(const Picture& picture) {
  *held_ = picture;
}

void PictureBox::OutlineChanged() {
  owner_.InvalidateArea(PixelBounds());
}

void PictureBox::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  owner_.InvalidateArea(PixelBounds());
}

void PictureBox::Invalidate(const PixelRect& rect) {
  if (!visible_) return;
  PixelRect at = PixelBounds();
  owner_.InvalidateArea({at.x + rect.x, at.y + rect.y, rect.width, rect.height});
}

void PictureBox::GeometryChanged() {
  // Where it stood before is not kept: the whole form is painted again.
  constexpr int kBeyondAnyForm = 1 << 20;
  owner_.InvalidateArea({0, 0, kBeyondAnyForm, kBeyondAnyForm});
}

CommandButton::CommandButton(std::string name, std::string caption, Handler click)
    : name_(std::move(name)), caption_(std::move(caption)), click_(click) {}

void CommandButton::Move(float left, float top, float width, float height) {
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
}

PixelRect CommandButton::PixelBounds() const {
  return TwipsToPixels(left_, top_, width_, height_);
}
