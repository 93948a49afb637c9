#pragma once
// The controls a form carries: text labels in control arrays, and picture boxes.

#include <memory>
#include <string>
#include <string_view>

#include "platform/picture.h"
#include "platform/surface.h"

class Form;

// What a control needs of the form that carries it.
class ControlOwner {
 public:
  // Pixels of the form to paint again, in the form's own pixel coordinates.
  virtual void InvalidateArea(const PixelRect& rect) = 0;

 protected:
  ~ControlOwner() = default;
};

enum class BackStyle { Transparent, Opaque };

class TextLabel {
 public:
  TextLabel(ControlOwner& owner, std::string name, int index);
  TextLabel(const TextLabel&) = delete;
  TextLabel& operator=(const TextLabel&) = delete;

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }

  const std::string& Caption() const { return caption_; }
  // Repaints only when the text really changes.
  void SetCaption(std::string_view caption);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  Alignment TextAlignment() const { return alignment_; }
  void SetAlignment(Alignment alignment);
  const FontSpec& Font() const { return font_; }
  void SetFont(const FontSpec& font);
  Color BackColor() const { return back_color_; }
  void SetBackColor(Color color);
  BackStyle Back() const { return back_style_; }
  void SetBackStyle(BackStyle style);
  Color ForeColor() const { return fore_color_; }
  void SetForeColor(Color color);

  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void Move(float left, float top);
  void Move(float left, float top, float width, float height);
  PixelRect PixelBounds() const;

  // Takes every design property of another label: all but its name and index.
  void CopyDesign(const TextLabel& other);

 private:
  void Invalidate() const;

  ControlOwner& owner_;
  std::string name_;
  int index_;
  std::string caption_;
  bool visible_ = true;
  Alignment alignment_ = Alignment::Left;
  FontSpec font_;
  Color back_color_ = kButtonFace;
  BackStyle back_style_ = BackStyle::Opaque;
  Color fore_color_ = kBlack;
  float left_ = 0;
  float top_ = 0;
  float width_ = 0;
  float height_ = 0;
};

// A push button; the platform's window makes the real one when the form is shown.
class CommandButton {
 public:
  using Handler = void (*)(Form&);
  CommandButton(std::string name, std::string caption, Handler click);

  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  Handler Click() const { return click_; }
  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void Move(float left, float top, float width, float height);
  PixelRect PixelBounds() const;
  // ENTER presses the default button, ESC the cancel button.
  bool Default = false;
  bool Cancel = false;

 private:
  std::string name_;
  std::string caption_;
  Handler click_;
  float left_ = 0;
  float top_ = 0;
  float width_ = 0;
  float height_ = 0;
};

// A child surface with its own persistent image, drawn above the form's image and labels.
class PictureBox final : public Surface {
 public:
  PictureBox(ControlOwner& owner, std::string name, int index);

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  // The picture it holds, when it serves as a store of pictures.
  const Picture& Held() const;
  void Hold(const Picture& picture);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

 protected:
  void Invalidate(const PixelRect& rect) override;
  void GeometryChanged() override;
  void OutlineChanged() override;

 private:
  ControlOwner& owner_;
  std::string name_;
  int index_;
  bool visible_ = true;
  std::unique_ptr<Picture> held_;
};
