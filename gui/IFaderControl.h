#pragma once
// A fader: a handle bitmap that travels along a track, value 1 at the top (vertical) or the
// right (horizontal). A click moves the handle to the pointer and a drag follows it.

#include "gui/IBitmap.h"
#include "gui/IControl.h"

class IFaderControl : public IControl {
public:
  enum EDirection : int { kVertical = 0, kHorizontal = 1 };

  // The track is len pixels long from (x, y); onlyHandle limits hits to the handle.
  IFaderControl(IEditorDelegate* controller, int x, int y, int len, int paramIdx,
                const IBitmap& handle, int direction = kVertical, bool onlyHandle = false);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  void OnMouseDrag(int x, int y, int dX, int dY, const IMouseMod& mod) override;
  bool Draw(IEditor* graphics) override;
  bool IsHit(int x, int y) override;

  // The handle's rectangle at a value.
  IRECT GetHandleRECT(double value) const;
  int GetLength() const { return mLen; }
  int GetHandleHeadroom() const { return mHandleHeadroom; }

protected:
  // The value whose handle is centred on the pointer.
  virtual void SnapToMouse(int x, int y);

  int mLen;
  int mHandleHeadroom; // the handle's extent along the track
  IBitmap mBitmap;
  int mDirection;
  bool mOnlyHandle;
};
