#pragma once
// The target of a pop-up menu's items: it keeps the item the user chose. Its name carries the
// build's suffix.

#include "AppKit/AppKit.h"
#include "gui/CocoaClassNames.h"

class IEditorMenuRcvr : public NSObject, public NSActionTarget {
public:
  static constexpr SEL kOnMenuSelection = "OnMenuSelection:";

  ~IEditorMenuRcvr() override;

  // OnMenuSelection: keeps the sender (retained).
  void OnMenuSelection(NSMenuItem* sender);
  NSMenuItem* MenuItem() const { return nsMenuItem; }

  bool performAction(SEL action, NSObject* sender) override;

private:
  NSMenuItem* nsMenuItem = nullptr;
};
