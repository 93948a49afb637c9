#pragma once
// Menu items owned by a form: a tree of named items with captions and click handlers.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Form;

class MenuItem {
 public:
  using Handler = void (*)(Form&);

  MenuItem(std::string name, int index, std::string caption, Handler click);
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string_view caption) { caption_ = caption; }
  bool IsSeparator() const { return caption_ == "-"; }
  // Runs when the item is chosen, or when its submenu is about to open.
  Handler Click() const { return click_; }

  MenuItem& Add(std::string_view name, std::string_view caption, Handler click = nullptr,
                int index = 0);
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  // This item or one below it; nullptr when there is none of that name and index.
  MenuItem* Find(std::string_view name, int index);

 private:
  std::string name_;
  int index_;
  std::string caption_;
  Handler click_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};
