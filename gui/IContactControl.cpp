#include "gui/IContactControl.h"

void IContactControl::OnMouseUp(int, int, const IMouseMod&) {
  mValue = 0.0;
  SetDirty(true);
}
