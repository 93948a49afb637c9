#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "platform/form.h"
#include "platform/keyboard.h"

namespace {

// Builds the Qt menu of an item's children; chosen items are recorded, not run, so that their
// handlers run after the menu has closed.
void Fill(QMenu& menu, Form& owner, MenuItem& item, MenuItem*& chosen) {
  for (const auto& child : item.Items()) {
    MenuItem* entry = child.get();
    if (entry->IsSeparator()) {
      menu.addSeparator();
    } else if (!entry->Items().empty()) {
      QMenu* sub = menu.addMenu(QString::fromStdString(entry->Caption()));
      Fill(*sub, owner, *entry, chosen);
      // The submenu's handler may rewrite its captions just before it shows.
      QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, entry, &owner] {
        if (entry->Click()) entry->Click()(owner);
        const auto actions = sub->actions();
        for (int i = 0; i < actions.size() && i < static_cast<int>(entry->Items().size()); ++i) {
          const MenuItem& shown = *entry->Items()[static_cast<size_t>(i)];
          if (!shown.IsSeparator()) actions[i]->setText(QString::fromStdString(shown.Caption()));
        }
      });
    } else {
      QAction* action = menu.addAction(QString::fromStdString(entry->Caption()));
      QObject::connect(action, &QAction::triggered, action, [entry, &chosen] { chosen = entry; });
    }
  }
}

}  // namespace

void PopupMenu(Form& owner, MenuItem& root) {
  MenuItem* chosen = nullptr;
  {
    ToolkitKeyboard keys_choose_items;
    QMenu menu;
    Fill(menu, owner, root, chosen);
    menu.exec(QCursor::pos());
  }
  if (chosen && chosen->Click()) chosen->Click()(owner);
}
