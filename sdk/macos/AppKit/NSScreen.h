// NSScreen: the display. Its backing scale factor is what a host tells the plug-in (its
// content scale factor) or what the display's density gives; windows start with it.
#pragma once

#include "Foundation/NSGeometry.h"

class NSScreen {
public:
  static NSScreen* mainScreen();

  double backingScaleFactor() const { return scale; }
  // A factor at or below 0 is ignored.
  void setBackingScaleFactor(double factor);
  NSRect frame() const { return screenFrame; }
  void setFrame(NSRect frame) { screenFrame = frame; }

private:
  double scale = 1.0;
  NSRect screenFrame = NSMakeRect(0, 0, 1920, 1080);
};
