// Stand-in for AppKit: fonts, the application, and (through the headers included at the end)
// views, windows, events, menus, text fields, panels, the pasteboard, the workspace and the
// pointer. Windows draw through NSWindowBackend.
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
class NSWindowBackend;

class NSApplication : public NSObject {
public:
  static NSApplication* sharedApplication();

  // Where app-modal UI runs when no window is key (see NSWindowBackend.h); not owned.
  NSWindowBackend* modalBackend() const { return modal; }
  void setModalBackend(NSWindowBackend* backend) { modal = backend; }

  NSObject* delegate() const { return appDelegate; }
  void setDelegate(NSObject* newDelegate) { appDelegate = newDelegate; }
  void terminate(NSObject* sender);
  bool terminateRequested() const { return terminating; }

private:
  NSObject* appDelegate = nullptr;
  NSWindowBackend* modal = nullptr;
  bool terminating = false;
};

// Readies AppKit for a plug-in inside a host that is not a Cocoa application; true.
bool NSApplicationLoad();

#include "AppKit/NSCursor.h"
#include "AppKit/NSEvent.h"
#include "AppKit/NSGraphicsContext.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSPanels.h"
#include "AppKit/NSPasteboard.h"
#include "AppKit/NSPaths.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSTextField.h"
#include "AppKit/NSView.h"
#include "AppKit/NSWindow.h"
#include "AppKit/NSWorkspace.h"
#include "Foundation/NSTimer.h"
