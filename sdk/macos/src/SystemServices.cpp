// ColorSync, Carbon, CoreServices, Foundation and AppKit values.
#include "CGObjects.h"

#include "AppKit/AppKit.h"
#include "Carbon/Carbon.h"
#include "ColorSync/ColorSync.h"
#include "CoreServices/CoreServices.h"
#include "Foundation/Foundation.h"

const double NSFoundationVersionNumber = 1151.16;
const double NSAppKitVersionNumber = 1343.0;

struct OpaqueCMProfileRef {
  int open = 0;
};

CMError CMGetSystemProfile(CMProfileRef* profile) {
  static OpaqueCMProfileRef displayProfile;
  if (!profile)
    return -50;
  ++displayProfile.open;
  *profile = &displayProfile;
  return 0;
}

CMError CMCloseProfile(CMProfileRef profile) {
  if (!profile || profile->open < 1)
    return -50;
  --profile->open;
  return 0;
}

OSErr Gestalt(OSType selector, SInt32* response) {
  if (!response)
    return -50;
  if (selector != gestaltSystemVersion)
    return gestaltUndefSelectorErr;
  *response = 0x10A0;
  return noErr;
}

OSStatus HIThemeSetFill(ThemeBrush brush, void*, CGContextRef context, HIThemeOrientation) {
  if (!context)
    return paramErr;
  // The light grey of dialog and window backgrounds.
  CGFloat grey = brush == kThemeBrushAlertBackgroundActive ? 0.93 : 0.91;
  CGContextSetRGBFillColor(context, grey, grey, grey, 1.0);
  return noErr;
}

NSApplication* NSApplication::sharedApplication() {
  static NSApplication application; // inside the binary: gone with it when a host unloads it
  return &application;
}

void NSApplication::terminate(NSObject*) {
  terminating = true;
}

bool NSApplicationLoad() {
  NSApplication::sharedApplication();
  return true;
}
