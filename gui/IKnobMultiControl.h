#pragma once
// A knob drawn as one frame of a bitmap strip chosen by its value.

#include "gui/IBitmap.h"
#include "gui/IKnobControl.h"

class IKnobMultiControl : public IKnobControl {
public:
  IKnobMultiControl(IEditorDelegate* controller, int x, int y, int paramIdx, const IBitmap& bitmap,
                    int direction = kVertical, double gearing = 2.0);

  bool Draw(IEditor* graphics) override;
  const IBitmap& GetBitmap() const { return mBitmap; }

protected:
  IBitmap mBitmap;
};
