// Menus and their items.
#include "AppKit/NSMenu.h"

#include "AppKit/NSView.h"
#include "AppKit/NSWindow.h"

NSMenuItem::NSMenuItem(std::string title, SEL action, std::string)
    : itemTitle(std::move(title)), itemAction(action) {}

NSMenuItem::~NSMenuItem() {
  if (sub)
    sub->release();
}

NSMenuItem* NSMenuItem::separatorItem() {
  auto* item = new NSMenuItem("", nullptr, "");
  item->separator = true;
  item->enabled = false;
  return item;
}

void NSMenuItem::setSubmenu(NSMenu* menu) {
  NSAssignRetained(sub, menu);
}

bool NSMenuItem::performAction() {
  return itemTarget && itemAction && itemTarget->performAction(itemAction, this);
}

NSMenu::NSMenu(std::string title) : menuTitle(std::move(title)) {}

NSMenu::~NSMenu() {
  for (NSMenuItem* item : items) {
    item->owner = nullptr;
    item->release();
  }
}

void NSMenu::addItem(NSMenuItem* item) {
  if (!item || item->owner)
    return;
  item->retain();
  item->owner = this;
  items.push_back(item);
}

NSMenuItem* NSMenu::addItemWithTitle(std::string title, SEL action, std::string keyEquivalent) {
  auto* item = new NSMenuItem(std::move(title), action, std::move(keyEquivalent));
  addItem(item);
  item->release();
  return item;
}

NSMenuItem* NSMenu::itemAtIndex(int index) const {
  return index >= 0 && index < (int)items.size() ? items[index] : nullptr;
}

int NSMenu::indexOfItem(const NSMenuItem* item) const {
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i] == item)
      return (int)i;
  return -1;
}

void NSMenu::popUpContextMenu(NSMenu* menu, NSEvent* event, NSView* view) {
  if (!menu || !event || !view)
    return;
  NSWindow* window = view->window();
  if (!window || !window->backend())
    return;
  menu->retain();
  NSMenuItem* chosen = window->backend()->runPopUpMenu(menu, event->locationInWindow(), view);
  if (chosen && chosen->isEnabled() && !chosen->isSeparatorItem() && !chosen->hasSubmenu())
    chosen->performAction();
  menu->release();
}
