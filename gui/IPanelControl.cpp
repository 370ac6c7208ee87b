#include "gui/IPanelControl.h"

#include "gui/IEditor.h"

bool IPanelControl::Draw(IEditor* graphics) {
  return graphics->FillIRect(&mColor, &mRECT, &mBlend);
}
