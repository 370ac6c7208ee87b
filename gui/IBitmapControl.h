#pragma once
// A bitmap strip whose frame follows the value: backgrounds, meters, the base of switches.

#include "gui/IBitmap.h"
#include "gui/IControl.h"

// The frame (counted from 1) a strip of n frames shows at value v: the nearest of the n
// evenly spaced frames, the ends for values outside 0-1; a strip of fewer than 2 frames always
// shows frame 1.
int IBitmapFrameForValue(int n, double v);

class IBitmapControl : public IControl {
public:
  // The control covers one frame of the strip with its top-left corner at (x, y).
  IBitmapControl(IEditorDelegate* controller, int x, int y, int paramIdx, const IBitmap& bitmap,
                 int blendMethod = IChannelBlend::kBlendNone);

  bool Draw(IEditor* graphics) override;
  const IBitmap& GetBitmap() const { return mBitmap; }

protected:
  IBitmap mBitmap;
};

// Draws the frame of bitmap that control's value selects in its rectangle; in the AAX build
// the host's highlight mark follows.
bool IDrawStripFrame(IControl* control, IEditor* graphics, IBitmap* bitmap);

// The rectangle of one frame of the strip at (x, y).
IRECT IBitmapFrameRect(int x, int y, const IBitmap& bitmap);
