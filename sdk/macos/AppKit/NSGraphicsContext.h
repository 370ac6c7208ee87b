// NSGraphicsContext: the CoreGraphics context views draw into. While a window displays, the
// current context draws into the window's backing store with the view's coordinates: its
// transform maps the view's points to device pixels (so a 1 x 1 size measures as the backing
// scale in device space) and its clip is the area being drawn.
#pragma once

#include "CoreGraphics/CoreGraphics.h"
#include "Foundation/Foundation.h"

class NSGraphicsContext : public NSObject {
public:
  // A context over a CoreGraphics context (retained).
  static NSGraphicsContext* graphicsContextWithGraphicsPort(CGContextRef port, bool flipped);
  static NSGraphicsContext* currentContext();
  // Makes context the current one (null: none); the caller keeps it alive while current.
  static void setCurrentContext(NSGraphicsContext* context);
  static void saveGraphicsState();
  static void restoreGraphicsState();

  CGContextRef graphicsPort() const { return port; }
  bool isFlipped() const { return flipped; }

private:
  NSGraphicsContext(CGContextRef port, bool flipped);
  ~NSGraphicsContext() override;

  CGContextRef port;
  bool flipped;
};
