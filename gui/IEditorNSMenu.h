#pragma once
// A native menu built from an IPopupMenu: its items, numbered when the menu has a prefix,
// separators, submenus built the same way, check marks, disabled and title items, each
// choosable item aimed at one receiver. Its name carries the build's suffix.

#include "AppKit/AppKit.h"
#include "gui/CocoaClassNames.h"

class IEditorMenuRcvr;
class IPopupMenu;

class IEditorNSMenu : public NSMenu {
public:
  // initWithIPopupMenuAndReciever:
  IEditorNSMenu(IPopupMenu* menu, IEditorMenuRcvr* receiver);

  IPopupMenu* AssociatedIPopupMenu() const { return mIPopupMenu; }

private:
  IPopupMenu* mIPopupMenu;
};
