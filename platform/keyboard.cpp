#include "platform/keyboard.h"

void KeyTable::Press(int vk) {
  if (!Valid(vk)) return;
  // Auto-repeat of a held key is not a new press.
  if (!down_[vk]) {
    if (toolkit_has_keyboard_) {
      toolkits_[vk] = true;
    } else {
      pressed_since_[vk] = true;
    }
  }
  down_[vk] = true;
  changed_ = true;
}

void KeyTable::Release(int vk) {
  if (!Valid(vk)) return;
  down_[vk] = false;
  toolkits_[vk] = false;
  changed_ = true;
}

void KeyTable::MarkDown(int vk) {
  if (!Valid(vk)) return;
  down_[vk] = true;
  changed_ = true;
}

int16_t KeyTable::Query(int vk) {
  if (!Valid(vk)) return 0;
  uint16_t state = (down_[vk] && !toolkits_[vk] ? 0x8000u : 0u) | (pressed_since_[vk] ? 1u : 0u);
  pressed_since_[vk] = false;
  return static_cast<int16_t>(state);
}

void KeyTable::Clear() {
  down_.fill(false);
  pressed_since_.fill(false);
  toolkits_.fill(false);
  changed_ = false;
}

void KeyTable::SetToolkitHasKeyboard(bool has) {
  toolkit_has_keyboard_ = has;
}

bool KeyTable::TakeChanged() {
  bool changed = changed_;
  changed_ = false;
  return changed;
}

namespace {
KeyTable table;
KeySource* source = nullptr;
int toolkit_holds = 0;

void SyncKeys() {
  if (source) source->Sync(table);
}
}  // namespace

KeySource* SetKeySource(KeySource* next) {
  KeySource* previous = source;
  source = next;
  table.Clear();
  return previous;
}

int16_t GetAsyncKeyState(int vk) {
  if (source) source->Update(table);
  return table.Query(vk);
}

bool KeysChangedSinceLastLook() {
  if (source) source->UpdateNow(table);
  return table.TakeChanged();
}

int KeyEventDescriptor() {
  return source ? source->WaitDescriptor() : -1;
}

ToolkitKeyboard::ToolkitKeyboard() {
  // What happened before belongs to the game.
  SyncKeys();
  if (toolkit_holds++ == 0) table.SetToolkitHasKeyboard(true);
}

ToolkitKeyboard::~ToolkitKeyboard() {
  // Everything up to the key that closed the menu or dialog belongs to the toolkit.
  SyncKeys();
  if (--toolkit_holds == 0) table.SetToolkitHasKeyboard(false);
}
