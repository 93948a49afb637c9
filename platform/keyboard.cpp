#include "platform/keyboard.h"

#include <utility>

bool KeyTable::Changes(const KeyEvent& event) const {
  if (!Valid(event.vk)) return false;
  return down_[event.vk] != (event.kind != KeyEvent::Kind::kRelease);
}

void KeyTable::Apply(const KeyEvent& event) {
  if (!Changes(event)) return;
  const int vk = event.vk;
  switch (event.kind) {
    case KeyEvent::Kind::kPress:
      if (toolkit_has_keyboard_) {
        toolkits_[vk] = true;
      } else {
        pressed_since_[vk] = true;
      }
      down_[vk] = true;
      break;
    case KeyEvent::Kind::kHeld:
      down_[vk] = true;
      break;
    case KeyEvent::Kind::kRelease:
      down_[vk] = false;
      toolkits_[vk] = false;
      break;
  }
}

int16_t KeyTable::Query(int vk) {
  if (!Valid(vk)) return 0;
  uint16_t state = (down_[vk] && !toolkits_[vk] ? 0x8000u : 0u) | (pressed_since_[vk] ? 1u : 0u);
  pressed_since_[vk] = false;
  return static_cast<int16_t>(state);
}

void KeyTable::ForgetPress(int vk) {
  if (Valid(vk)) pressed_since_[vk] = false;
}

void KeyTable::Clear() {
  down_.fill(false);
  pressed_since_.fill(false);
  toolkits_.fill(false);
}

void KeyTable::SetToolkitHasKeyboard(bool has) {
  toolkit_has_keyboard_ = has;
}

namespace {

KeyTable table;
KeySource* source = nullptr;
// A change read while looking whether one waits; it is the next to take in.
std::optional<KeyEvent> ahead;
bool pass_has_looked = false;
int toolkit_holds = 0;

// The next event that changes the table; repeats of held keys and releases of keys that are up
// are passed over.
std::optional<KeyEvent> NextChange(bool read_device) {
  if (ahead) return std::exchange(ahead, std::nullopt);
  if (!source) return std::nullopt;
  while (std::optional<KeyEvent> event = source->Next(read_device)) {
    if (table.Changes(*event)) return event;
  }
  return std::nullopt;
}

void TakeInEverythingSoFar() {
  if (source) source->Sync();
  while (std::optional<KeyEvent> event = NextChange(false))
    table.Apply(*event);
}

}  // namespace

KeySource* SetKeySource(KeySource* next) {
  KeySource* previous = source;
  source = next;
  table.Clear();
  ahead.reset();
  pass_has_looked = false;
  return previous;
}

int16_t GetAsyncKeyState(int vk) {
  if (!pass_has_looked) {
    pass_has_looked = true;
    if (std::optional<KeyEvent> event = NextChange(true)) table.Apply(*event);
  }
  return table.Query(vk);
}

void DiscardPresses(std::span<const int> vks) {
  TakeInEverythingSoFar();
  for (int vk : vks)
    table.ForgetPress(vk);
}

void BeginKeyPass() {
  pass_has_looked = false;
}

bool KeyChangeWaiting() {
  if (!ahead) ahead = NextChange(true);
  return ahead.has_value();
}

int KeyEventDescriptor() {
  return source ? source->WaitDescriptor() : -1;
}

ToolkitKeyboard::ToolkitKeyboard() {
  // What happened before belongs to the game.
  TakeInEverythingSoFar();
  if (toolkit_holds++ == 0) table.SetToolkitHasKeyboard(true);
}

ToolkitKeyboard::~ToolkitKeyboard() {
  // Everything up to the key that closed the menu or dialog belongs to the toolkit.
  TakeInEverythingSoFar();
  if (--toolkit_holds == 0) table.SetToolkitHasKeyboard(false);
}
