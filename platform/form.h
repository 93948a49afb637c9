#pragma once
// Top-level windows, addressed by their design names: the first reference loads a form and
// runs its load handler; unloading runs its close handler and destroys it with its controls
// and image, so that the next reference loads a fresh one.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/drawing.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/surface.h"
#include "platform/window_content.h"

class NativeWindow;

struct FormDesign {
  std::string_view name;
  FormStyle style = FormStyle::Borderless;
  // Design-time properties and controls, applied before the load handler runs.
  void (*design)(Form&) = nullptr;
  void (*load)(Form&) = nullptr;
  void (*close)(Form&) = nullptr;
  void (*mouse_down)(Form&, MouseButton button, int shift, float x, float y) = nullptr;
  // A key pressed while the form has the keyboard focus (VK_ codes of keyboard.h; shift as for
  // the mouse: 1 Shift, 2 Ctrl, 4 Alt). A form with it takes Tab for itself.
  void (*key_down)(Form&, int key, int shift) = nullptr;
};

enum class ShowMode { Modeless, Modal };

class Form final : public Surface, public ControlOwner, public WindowContent {
 public:
  explicit Form(const FormDesign& design);
  ~Form() override;

  const std::string& Name() const { return name_; }
  const FormDesign& Design() const { return design_; }

  // What a composite window keeps between its calls: the shapes added so far as one region,
  // deleted with the form unless handed on, and what each shape adds to the picture.
  GdiObject PendingRegion;
  int PaintMode = 0;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view caption);

  // Modeless returns at once; Modal returns when the form is hidden or unloaded.
  void Show(ShowMode mode = ShowMode::Modeless);
  bool Visible() const { return visible_; }
  // On desktops that pass the global keyboard on only to a focused window of the game
  // (XWayland), gives this shown window the keyboard focus; elsewhere the game's windows never
  // take it, and this does nothing.
  void TakeKeyboardFocus();

  // Control arrays of labels: element 0 comes from the design, later elements from
  // LoadLabel, which copies element 0's design.
  TextLabel& AddLabel(std::string_view name, int index = 0);
  TextLabel& LoadLabel(std::string_view name, int index);
  TextLabel& Label(std::string_view name, int index = 0);
  const std::vector<std::unique_ptr<TextLabel>>& Labels() const { return labels_; }

  // Picture boxes, added at run time or in the design, and found by name and array index.
  PictureBox& AddPictureBox(std::string_view name, int index = 0);
  // Buttons, in tab order; the first has the keyboard focus when the form opens.
  CommandButton& AddButton(std::string_view name, std::string_view caption,
                           CommandButton::Handler click);
  const std::vector<std::unique_ptr<CommandButton>>& Buttons() const override { return buttons_; }
  PictureBox* FindPictureBox(std::string_view name, int index = 0);
  const std::vector<std::unique_ptr<PictureBox>>& PictureBoxes() const { return pictures_; }

  // Drawn over the persistent image, below the labels, at the screen's own scale.
  const Drawing& Drawn() const { return drawing_; }
  void SetDrawing(Drawing drawing);

  // The form's menus hang below one invisible root item.
  MenuItem& Menus() { return menus_; }
  MenuItem& Menu(std::string_view name, int index = 0);

  // How often the window on the screen was painted, for checking that idle updates are free.
  uint64_t RepaintCount() const { return repaints_; }

  void InvalidateArea(const PixelRect& rect) override;

  // What the window on the screen asks and tells.
  FormStyle Style() const override { return design_.style; }
  const Region* Outline() const override { return Surface::Outline(); }
  void Compose(Canvas& canvas, const PixelRect& area) const override;
  void Painted() override { ++repaints_; }
  bool HandlesKeys() const override { return design_.key_down != nullptr; }
  void Press(const CommandButton& button) override;
  void MousePressed(MouseButton button, int shift, int x_px, int y_px) override;
  bool KeyPressed(int key, int shift) override;
  void WindowClosed() override;

 protected:
  void Invalidate(const PixelRect& rect) override { InvalidateArea(rect); }
  void GeometryChanged() override;
  void OutlineChanged() override;

 private:
  const FormDesign& design_;
  std::string name_;
  std::string caption_;
  bool visible_ = false;
  std::vector<std::unique_ptr<TextLabel>> labels_;
  std::vector<std::unique_ptr<PictureBox>> pictures_;
  std::vector<std::unique_ptr<CommandButton>> buttons_;
  MenuItem menus_{"", 0, "", nullptr};
  Drawing drawing_;
  NativeWindow* window_ = nullptr;  // owned by the backend, made on the first show
  uint64_t repaints_ = 0;
};

// Shows the item's submenu at the mouse pointer and returns once it has closed and the handler
// of the chosen item has run. Opening a submenu runs its item's handler first.
void PopupMenu(Form& owner, MenuItem& root);

// The loaded form of this design, loading it first if it is not loaded.
Form& Reference(const FormDesign& design);
// Runs the close handler, then destroys the form. Returns false, doing nothing, for a form that
// is already unloading.
bool Unload(Form& form);
Form* FindLoadedForm(std::string_view name);
// A copy of the names, safe to walk while forms unload.
std::vector<std::string> LoadedFormNames();
// Closes every loaded form whose name differs from name (exact, case-sensitive), also those
// that close handlers load meanwhile.
void UnloadAllFormsExcept(std::string_view name);
