// Native menus built from IPopupMenus.
#include "gui/IEditorNSMenu.h"

#include "gui/IEditorMenuRcvr.h"
#include "gui/IPopupMenu.h"
#include "gui/IPopupMenuItem.h"

namespace {

// The item's text with the menu's numbering ("%1d: ", "%02d: " or "%03d: ") in front.
std::string NumberedTitle(const IPopupMenu& menu, int index) {
  char prefix[16] = "";
  menu.FormatPrefix(index, prefix, sizeof prefix);
  const char* text = menu.GetItemText(index);
  return std::string(prefix) + (text ? text : "");
}

} // namespace

IEditorNSMenu::IEditorNSMenu(IPopupMenu* menu, IEditorMenuRcvr* receiver)
    : NSMenu(""), mIPopupMenu(menu) {
  setAutoenablesItems(false);
  for (int i = 0; i < menu->GetNItems(); ++i) {
    const IPopupMenuItem* item = menu->GetItem(i);
    const std::string title = NumberedTitle(*menu, i);
    if (item->GetSubmenu()) {
      NSMenuItem* holder = addItemWithTitle(title, nullptr, "");
      auto* submenu = new IEditorNSMenu(item->GetSubmenu(), receiver);
      holder->setSubmenu(submenu);
      submenu->release();
    } else if (item->IsSeparator()) {
      NSMenuItem* separator = NSMenuItem::separatorItem();
      addItem(separator);
      separator->release();
    } else {
      NSMenuItem* entry = addItemWithTitle(title, IEditorMenuRcvr::kOnMenuSelection, "");
      entry->setTarget(receiver);
      if (item->IsTitle())
        entry->setIndentationLevel(1);
      if (item->IsChecked())
        entry->setState(NSOnState);
      if (item->IsDisabled())
        entry->setEnabled(false);
    }
  }
}
