// Helpers shared by the drawing interface's source files.
#pragma once

#include "gui/emulation/DrawingEmulation.h"

namespace winemu {

// A CGColor in the device colour space from a colour word and an alpha.
CGColorRef makeColor(COLORREF color, float alpha = 1.0f);

// The label font at 10 points, made on first need and never released.
CTFontRef fallbackFont();

// The CTFont text is set in: the selected font's, else the fallback font.
CTFontRef textFontOf(const DrawingContext* context);

} // namespace winemu
