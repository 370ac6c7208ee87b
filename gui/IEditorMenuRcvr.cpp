// The receiver of a pop-up menu's choice.
#include "gui/IEditorMenuRcvr.h"

#include <cstring>

IEditorMenuRcvr::~IEditorMenuRcvr() {
  if (nsMenuItem)
    nsMenuItem->release();
}

void IEditorMenuRcvr::OnMenuSelection(NSMenuItem* sender) {
  NSAssignRetained(nsMenuItem, sender);
}

bool IEditorMenuRcvr::performAction(SEL action, NSObject* sender) {
  if (!action || std::strcmp(action, kOnMenuSelection) != 0)
    return false;
  OnMenuSelection(dynamic_cast<NSMenuItem*>(sender));
  return true;
}
