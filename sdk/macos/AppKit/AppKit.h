// Stand-in for the AppKit calls the drawing emulation makes: NSFont's named and label fonts
// and the AppKit release number.
#pragma once

#include "CoreText/CoreText.h"
#include "Foundation/Foundation.h"

// The AppKit release the stand-in behaves as (that of macOS 10.10).
extern const double NSAppKitVersionNumber;

typedef CFStringRef NSStringRef;

// An NSFont is the same object as a CTFont (toll-free bridged): (CTFontRef)font is valid.
// Fonts from the class methods are shared and live for the whole process, like the
// platform's autoreleased font objects that its font cache keeps; retain and release still
// balance.
class NSFont {
public:
  // Null when no installed font has the family (the PostScript name, or the family name with
  // optional style words "Bold", "Italic", "Oblique"). "Monaco" is the monospaced face and
  // "Arial", "Helvetica" and "Lucida Grande" the sans-serif face.
  static NSFont* fontWithName(NSStringRef name, double size);
  // The system's label font: the sans-serif face.
  static NSFont* labelFontOfSize(double size);

  NSFont* retain();
  void release();
  CTFontRef ctFont() const { return reinterpret_cast<CTFontRef>(this); }

  NSFont() = delete;
};

// The application object. A plug-in never owns the process: terminate: records the request
// for the host (or a test) to see instead of ending the process.
class NSApplication : public NSObject {
public:
  static NSApplication* sharedApplication();

  NSObject* delegate() const { return appDelegate; }
  void setDelegate(NSObject* newDelegate) { appDelegate = newDelegate; }
  void terminate(NSObject* sender);
  bool terminateRequested() const { return terminating; }

private:
  NSObject* appDelegate = nullptr;
  bool terminating = false;
};
