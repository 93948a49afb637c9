#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "platform/form.h"
#include "platform/keyboard.h"
#include "platform/testing.h"

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

bool ChoosePopupItem(std::string_view caption) {
  const QString wanted = QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* menu = qobject_cast<QMenu*>(widget);
    if (!menu || !menu->isVisible()) continue;
    for (QAction* action : menu->actions()) {
      if (action->text() != wanted) continue;
      if (action->menu()) {
        action->menu()->popup(menu->geometry().topRight());
      } else {
        action->trigger();
        // Closing the outermost menu ends the popup.
        for (QWidget* other : QApplication::topLevelWidgets()) {
          if (auto* open = qobject_cast<QMenu*>(other); open && open->isVisible()) open->close();
        }
      }
      return true;
    }
  }
  return false;
}
