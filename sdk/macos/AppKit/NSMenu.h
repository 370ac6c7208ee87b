// NSMenu and NSMenuItem: menus of titled items, separators and submenus. An item sends its
// action to its target when chosen. A menu retains its items; an item retains its submenu.
#pragma once

#include <string>
#include <vector>

#include "AppKit/NSEvent.h"
#include "Foundation/Foundation.h"

class NSMenu;
class NSView;

enum NSCellStateValue : int { NSOffState = 0, NSOnState = 1, NSMixedState = -1 };

class NSMenuItem : public NSObject {
public:
  NSMenuItem(std::string title, SEL action, std::string keyEquivalent);
  static NSMenuItem* separatorItem();

  const std::string& title() const { return itemTitle; }
  void setTitle(std::string title) { itemTitle = std::move(title); }
  bool isSeparatorItem() const { return separator; }
  NSMenu* submenu() const { return sub; }
  bool hasSubmenu() const { return sub != nullptr; }
  // Retains the submenu (releasing the old one).
  void setSubmenu(NSMenu* menu);
  NSCellStateValue state() const { return itemState; }
  void setState(NSCellStateValue state) { itemState = state; }
  bool isEnabled() const { return enabled; }
  void setEnabled(bool on) { enabled = on; }
  NSActionTarget* target() const { return itemTarget; }
  void setTarget(NSActionTarget* target) { itemTarget = target; }
  SEL action() const { return itemAction; }
  void setAction(SEL action) { itemAction = action; }
  int indentationLevel() const { return indentation; }
  void setIndentationLevel(int level) { indentation = level; }
  // The menu the item is in, or null.
  NSMenu* menu() const { return owner; }
  // Sends the action to the target; false when there is none or it does not answer.
  bool performAction();

private:
  friend class NSMenu;
  ~NSMenuItem() override;

  std::string itemTitle;
  SEL itemAction = nullptr;
  NSActionTarget* itemTarget = nullptr; // not retained
  NSMenu* sub = nullptr;                // retained
  NSMenu* owner = nullptr;
  NSCellStateValue itemState = NSOffState;
  int indentation = 0;
  bool enabled = true;
  bool separator = false;
};

class NSMenu : public NSObject {
public:
  explicit NSMenu(std::string title = "");
  ~NSMenu() override;

  const std::string& title() const { return menuTitle; }
  void setAutoenablesItems(bool on) { autoenables = on; }
  bool autoenablesItems() const { return autoenables; }
  // Retains the item.
  void addItem(NSMenuItem* item);
  NSMenuItem* addItemWithTitle(std::string title, SEL action, std::string keyEquivalent);
  int numberOfItems() const { return (int)items.size(); }
  NSMenuItem* itemAtIndex(int index) const;
  // The item's index, or -1.
  int indexOfItem(const NSMenuItem* item) const;
  const std::vector<NSMenuItem*>& itemArray() const { return items; }

  // Runs the menu at the event's location in view's window through the window's back end,
  // then performs the chosen item's action. Nothing without a window or back end.
  static void popUpContextMenu(NSMenu* menu, NSEvent* event, NSView* view);

private:
  std::string menuTitle;
  std::vector<NSMenuItem*> items; // retained
  bool autoenables = true;
};
