#pragma once
// A switch that steps through the frames of its strip on every click, wrapping to the first.

#include "gui/IBitmapControl.h"

class ISwitchControl : public IBitmapControl {
public:
  using IBitmapControl::IBitmapControl;

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  // A double click is a second press.
  void OnMouseDblClick(int x, int y, const IMouseMod& mod) override;
};
