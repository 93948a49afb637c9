#include "platform/menu.h"

MenuItem::MenuItem(std::string name, int index, std::string caption, Handler click)
    : name_(std::move(name)), index_(index), caption_(std::move(caption)), click_(click) {}

MenuItem& MenuItem::Add(std::string_view name, std::string_view caption, Handler click, int index) {
  items_.push_back(
      std::make_unique<MenuItem>(std::string(name), index, std::string(caption), click));
  return *items_.back();
}

MenuItem* MenuItem::Find(std::string_view name, int index) {
  if (name_ == name && index_ == index) return this;
  for (const auto& item : items_) {
    if (MenuItem* found = item->Find(name, index)) return found;
  }
  return nullptr;
}
