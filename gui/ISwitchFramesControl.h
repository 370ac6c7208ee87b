#pragma once
// A switch that shows all its choices at once: the strip's frames laid out side by side or
// stacked, and a click on one selects it.

#include <vector>

#include "gui/ISwitchControl.h"

class ISwitchFramesControl : public ISwitchControl {
public:
  // The rectangle covers every frame of the strip at (x, y), in the strip's own layout.
  ISwitchFramesControl(IEditorDelegate* controller, int x, int y, int paramIdx,
                       const IBitmap& bitmap);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  const std::vector<IRECT>& FrameRects() const { return mRECTs; }

protected:
  std::vector<IRECT> mRECTs;
};
