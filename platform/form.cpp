#include "platform/form.h"

#include <algorithm>

#include "platform/canvas.h"
#include "platform/failures.h"
#include "platform/keyboard.h"
#include "platform/native_window.h"
#include "platform/system_metrics.h"

namespace {

struct LoadedForm {
  std::unique_ptr<Form> form;
  bool unloading = false;
};

// In load order; a form is listed before its load handler runs, so the handler can refer to it.
std::vector<LoadedForm>& Loaded() {
  static std::vector<LoadedForm> forms;
  return forms;
}

LoadedForm* Find(std::string_view name) {
  auto& forms = Loaded();
  auto it = std::find_if(forms.begin(), forms.end(),
                         [&](const LoadedForm& entry) { return entry.form->Name() == name; });
  return it == forms.end() ? nullptr : &*it;
}

}  // namespace

Form::Form(const FormDesign& design) : design_(design), name_(design.name) {}

Form::~Form() {
  if (window_) window_->Release();
}

void Form::SetCaption(std::string_view caption) {
  caption_ = caption;
  if (window_) window_->SetTitle(caption_);
}

void Form::Show(ShowMode mode) {
  if (!window_) {
    window_ = CreateNativeWindow(*this);
    window_->SetTitle(caption_);
    GeometryChanged();
    OutlineChanged();
  }
  visible_ = true;
  if (mode == ShowMode::Modeless) {
    window_->Show();
    return;
  }
  ToolkitKeyboard keys_belong_to_the_dialog;
  // The form may be unloaded meanwhile: nothing of it is touched after this.
  window_->ShowModal();
}

TextLabel& Form::AddLabel(std::string_view name, int index) {
  labels_.push_back(std::make_unique<TextLabel>(*this, std::string(name), index));
  return *labels_.back();
}

TextLabel& Form::LoadLabel(std::string_view name, int index) {
  TextLabel& design = Label(name, 0);
  for (const auto& label : labels_) {
    if (label->Name() == name && label->Index() == index) {
      FatalError(name_ + "." + std::string(name) + "(" + std::to_string(index) +
                 ") is already loaded");
    }
  }
  labels_.push_back(std::make_unique<TextLabel>(*this, std::string(name), index));
  labels_.back()->CopyDesign(design);
  return *labels_.back();
}

TextLabel& Form::Label(std::string_view name, int index) {
  for (const auto& label : labels_) {
    if (label->Name() == name && label->Index() == index) return *label;
  }
  FatalError(name_ + " has no control " + std::string(name) + "(" + std::to_string(index) + ")");
}

PictureBox& Form::AddPictureBox(std::string_view name, int index) {
  if (FindPictureBox(name, index)) {
    FatalError(name_ + " already has a control " + std::string(name));
  }
  pictures_.push_back(std::make_unique<PictureBox>(*this, std::string(name), index));
  return *pictures_.back();
}

CommandButton& Form::AddButton(std::string_view name, std::string_view caption,
                               CommandButton::Handler click) {
  buttons_.push_back(
      std::make_unique<CommandButton>(std::string(name), std::string(caption), click));
  return *buttons_.back();
}

PictureBox* Form::FindPictureBox(std::string_view name, int index) {
  for (const auto& picture : pictures_) {
    if (picture->Name() == name && picture->Index() == index) return picture.get();
  }
  return nullptr;
}

MenuItem& Form::Menu(std::string_view name, int index) {
  MenuItem* item = menus_.Find(name, index);
  if (!item)
    FatalError(name_ + " has no menu " + std::string(name) + "(" + std::to_string(index) + ")");
  return *item;
}

void Form::InvalidateArea(const PixelRect& rect) {
  if (window_ && visible_) window_->Update(rect);
}

// The persistent image, the labels above it and the picture boxes above them.
void Form::Compose(Canvas& canvas, const PixelRect& area) const {
  // Nothing outside the outline is part of the window.
  Region visible(area);
  if (const Region* outline = Outline()) visible = visible.Intersected(*outline);
  canvas.SetClip(visible);
  canvas.DrawImage(0, 0, PersistentImage());
  if (!drawing_.Empty()) canvas.Paint(drawing_);
  for (const auto& label : labels_) {
    if (!label->Visible()) continue;
    const PixelRect box = label->PixelBounds();
    canvas.SetClip(visible.Intersected(Region(box)));
    if (label->Back() == BackStyle::Opaque) canvas.FillRect(box, label->BackColor());
    canvas.DrawText(box, label->Caption(), label->Font(), label->ForeColor(),
                    label->TextAlignment());
  }
  for (const auto& picture : pictures_) {
    if (!picture->Visible()) continue;
    const PixelRect at = picture->PixelBounds();
    Region shown = visible.Intersected(Region(at));
    if (const Region* outline = picture->Outline()) {
      Region placed = outline->Copy();
      placed.Translate(at.x, at.y);
      shown = shown.Intersected(placed);
    }
    canvas.SetClip(shown);
    canvas.DrawImage(at.x, at.y, picture->PersistentImage());
  }
}

void Form::Press(const CommandButton& button) {
  if (button.Click()) button.Click()(*this);
}

void Form::WindowClosed() {
  Unload(*this);
}

void Form::MousePressed(MouseButton button, int shift, int x_px, int y_px) {
  if (!design_.mouse_down) return;
  TwipsFactors twips = CurrentTwipsPerPixel();
  design_.mouse_down(*this, button, shift, x_px * twips.x, y_px * twips.y);
}

bool Form::KeyPressed(int key, int shift) {
  if (!design_.key_down) return false;
  design_.key_down(*this, key, shift);
  return true;
}

void Form::SetDrawing(Drawing drawing) {
  drawing_ = std::move(drawing);
  PixelRect bounds = PixelBounds();
  InvalidateArea({0, 0, bounds.width, bounds.height});
}

void Form::OutlineChanged() {
  if (window_) window_->Reshape();
}

void Form::GeometryChanged() {
  if (window_) window_->Place(PixelBounds());
}

void Form::TakeKeyboardFocus() {
  if (window_) window_->TakeKeyboardFocus();
}

Form& Reference(const FormDesign& design) {
  if (LoadedForm* entry = Find(design.name)) return *entry->form;
  Loaded().push_back({std::make_unique<Form>(design)});
  Form& form = *Loaded().back().form;
  if (design.design) design.design(form);
  if (design.load) design.load(form);
  return form;
}

bool Unload(Form& form) {
  LoadedForm* entry = Find(form.Name());
  if (!entry || entry->unloading) return false;
  entry->unloading = true;
  std::string name = form.Name();
  if (form.Design().close) form.Design().close(form);
  // The close handler may have unloaded other forms: look the entry up again.
  auto& forms = Loaded();
  auto it = std::find_if(forms.begin(), forms.end(),
                         [&](const LoadedForm& e) { return e.form->Name() == name; });
  if (it == forms.end()) return true;
  std::unique_ptr<Form> doomed = std::move(it->form);
  forms.erase(it);
  return true;
}

Form* FindLoadedForm(std::string_view name) {
  LoadedForm* entry = Find(name);
  return entry ? entry->form.get() : nullptr;
}

std::vector<std::string> LoadedFormNames() {
  std::vector<std::string> names;
  for (const auto& entry : Loaded())
    names.push_back(entry.form->Name());
  return names;
}

void UnloadAllFormsExcept(std::string_view name) {
  // A close handler may unload other forms, or load one: walk until nothing is left to close.
  for (bool closed = true; closed;) {
    closed = false;
    for (const std::string& loaded : LoadedFormNames()) {
      if (loaded == name) continue;
      Form* form = FindLoadedForm(loaded);
      if (form && Unload(*form)) closed = true;
    }
  }
}
