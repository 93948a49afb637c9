#include "platform/keyboard.h"

void KeyTable::Press(int vk) {
  if (!Valid(vk)) return;
  // Auto-repeat of a held key is not a new press.
  if (!down_[vk]) pressed_since_[vk] = true;
  down_[vk] = true;
  changed_ = true;
}

void KeyTable::Release(int vk) {
  if (!Valid(vk)) return;
  down_[vk] = false;
  changed_ = true;
}

void KeyTable::MarkDown(int vk) {
  if (!Valid(vk)) return;
  down_[vk] = true;
  changed_ = true;
}

int16_t KeyTable::Query(int vk) {
  if (!Valid(vk)) return 0;
  uint16_t state = (down_[vk] ? 0x8000u : 0u) | (pressed_since_[vk] ? 1u : 0u);
  pressed_since_[vk] = false;
  return static_cast<int16_t>(state);
}

void KeyTable::Clear() {
  down_.fill(false);
  pressed_since_.fill(false);
  changed_ = false;
}

bool KeyTable::TakeChanged() {
  bool changed = changed_;
  changed_ = false;
  return changed;
}

namespace {
KeyTable table;
KeySource* source = nullptr;
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
