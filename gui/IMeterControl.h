#pragma once
// A meter: a bitmap strip driven by the plug-in; it takes neither clicks nor the wheel.

#include "gui/IBitmapControl.h"

class IMeterControl : public IBitmapControl {
public:
  using IBitmapControl::IBitmapControl;

  void OnMouseDown(int, int, const IMouseMod&) override {}
  void OnMouseWheel(int, int, const IMouseMod&, int) override {}
};
