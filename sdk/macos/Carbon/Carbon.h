// Stand-in for the Carbon call the drawing emulation makes: themed fills.
#pragma once

#include "CoreGraphics/CoreGraphics.h"
#include "CoreServices/CoreServices.h"

typedef int16_t ThemeBrush;
typedef uint32_t HIThemeOrientation;
typedef int32_t OSStatus;
enum : ThemeBrush {
  kThemeBrushDialogBackgroundActive = 1,
  kThemeBrushModelessDialogBackgroundActive = 3,
  kThemeBrushAlertBackgroundActive = 5,
};
enum : HIThemeOrientation { kHIThemeOrientationNormal = 0, kHIThemeOrientationInverted = 1 };
enum : OSStatus { paramErr = -50 };

// Sets the context's fill colour to the theme's colour for the brush.
OSStatus HIThemeSetFill(ThemeBrush brush, void* info, CGContextRef context,
                        HIThemeOrientation orientation);
