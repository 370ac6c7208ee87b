#include "gui/IPopupMenuItem.h"

#include "gui/IPopupMenu.h"

IPopupMenuItem::IPopupMenuItem(const char* text, int flags)
    : mText(text ? text : ""), mFlags(flags) {}

IPopupMenuItem::IPopupMenuItem(const char* text, IPopupMenu* submenu)
    : mText(text ? text : ""), mSubmenu(submenu) {}

IPopupMenuItem::~IPopupMenuItem() {
  delete mSubmenu;
}

void IPopupMenuItem::SetChecked(bool on) {
  mFlags = on ? (mFlags | kChecked) : (mFlags & ~kChecked);
}
