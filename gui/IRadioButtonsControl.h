#pragma once
// A row or column of n buttons of which one is on; the value is the button's index / (n - 1).

#include <vector>

#include "gui/IBitmap.h"
#include "gui/IControl.h"

class IRadioButtonsControl : public IControl {
public:
  enum EDirection : int { kVertical = 0, kHorizontal = 1 };

  // bitmap: frame 1 off, frame 2 on. The buttons are spread evenly along the rectangle, the
  // first at the top (left) or, reversed, at the bottom (right).
  IRadioButtonsControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx, int nButtons,
                       const IBitmap& bitmap, int direction = kVertical, bool reverse = false);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IEditor* graphics) override;

  const std::vector<IRECT>& ButtonRects() const { return mRECTs; }
  // The button that is on.
  int SelectedButton() const;

protected:
  std::vector<IRECT> mRECTs;
  IBitmap mBitmap;
};
