#pragma once
// A switch that opens an overlay: while off it takes the mouse only in its button and draws
// nothing; while on it covers its whole rectangle with its picture, and a click anywhere there
// switches it off again.

#include "gui/ISwitchControl.h"

class IBitmapOverlayControl : public ISwitchControl {
public:
  IBitmapOverlayControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                        const IBitmap& bitmap, const IRECT& buttonRect);

  bool Draw(IEditor* graphics) override;
  bool IsHit(int x, int y) override;

protected:
  IRECT mButtonRECT;
};
