// The editor's back end on the AppKit stand-in: the view's life, the screen copy, coordinate
// conversions, pop-up menus, text entry, the pointer and tool tips.
#include "gui/IEditorMac.h"

#include <cmath>

#include "ColorSync/ColorSync.h"
#include "CoreServices/CoreServices.h"
#include "framework/IParam.h"
#include "gui/IControl.h"
#include "gui/IEditorCocoa.h"
#include "gui/IEditorDelegate.h"
#include "gui/emulation/DrawingRecords.h"
#include "raster/sys/PIX_SysBitmap.h"

namespace {

// A device width above this for one point means a double-density display.
constexpr double kRetinaThreshold = 1.9;
constexpr SInt32 kFirstVersionWithDisplayProfile = 0x1070;

} // namespace

IEditorMac::IEditorMac(IEditorDelegate* controller, int width, int height, int fps)
    : IEditor(controller, width, height, fps) {
  NSApplicationLoad();
}

IEditorMac::~IEditorMac() {
  CloseWindow();
  ReleaseColorSpace();
}

void IEditorMac::ReleaseColorSpace() {
  if (mColorSpace)
    CGColorSpaceRelease(mColorSpace);
  mColorSpace = nullptr;
}

int IEditorMac::GetSystemVersion() {
  SInt32 version = 0;
  Gestalt(gestaltSystemVersion, &version);
  return version;
}

// ---- coordinates ----

NSRect IEditorMac::ToViewRect(const IRECT& r) const {
  const double s = GetDrawScale(), h = Height();
  return NSMakeRect(r.L / s, h / s - r.B / s - 1.0, (r.R - r.L) / s + 1.0, (r.B - r.T) / s + 1.0);
}

IRECT IEditorMac::ToPixelRect(const NSRect& r) const {
  const double s = GetDrawScale();
  const int left = (int)std::trunc(r.origin.x * s);
  const int bottom = Height() - (int)std::trunc(r.origin.y * s);
  const int top = bottom - (int)std::trunc(r.size.height * s);
  const int right = left + (int)std::trunc(r.size.width * s);
  return IRECT(left, top, right, bottom);
}

void IEditorMac::ToPixelPoint(NSPoint p, int* x, int* y) const {
  const double s = GetDrawScale();
  *x = (int)std::trunc(p.x * s) - 2;
  *y = Height() - 3 - (int)std::trunc(p.y * s);
}

// ---- the view ----

void* IEditorMac::OpenWindow(void* parentView) {
  CloseWindow();
  mView = new IEditorCocoa(this);
  // Only a view can take the editor's view in; any other handle opens it unparented.
  if (NSView::isLiveView(parentView))
    static_cast<NSView*>(parentView)->addSubview(mView);
  UpdateTooltips();
  mWindowKind = kWindowKindCocoa;
  return mView;
}

void IEditorMac::CloseWindow() {
  IEditorCocoa* view = mView;
  if (!view)
    return;
  mView = nullptr; // a removal that comes back here finds nothing left to close
  EndOpenGestures();
  ReleaseMouseCapture();
  view->removeAllToolTips();
  view->killTimer();
  if (view->mGraphics) {
    view->mGraphics = nullptr;
    view->endUserInput();
    view->removeFromSuperview();
  }
  view->release(); // the reference OpenWindow made
}

void* IEditorMac::GetWindow() {
  return mView;
}

void IEditorMac::Resize(int width, int height) {
  if (width == Width() && height == Height())
    return;
  EndTextEntry();
  IEditor::Resize(width, height);
  if (mView)
    mView->setFrameSize(NSMakeSize(width / GetDrawScale(), height / GetDrawScale()));
}

void IEditorMac::RebuildControls() {
  IEditorDelegate* controller = GetController();
  if (!controller)
    return;
  controller->LayoutGUI();
  for (int i = 0; i < controller->NParams(); ++i)
    if (IParam* param = controller->GetParam(i))
      SetParameterFromPlug(i, param->GetNormalized(), true);
}

bool IEditorMac::DrawScreen(const IRECT&) {
  NSGraphicsContext* graphics = NSGraphicsContext::currentContext();
  if (!mView || !graphics || !graphics->graphicsPort() || !GetDrawBitmap())
    return false;
  CGContextRef port = graphics->graphicsPort();
  const CGSize device = CGContextConvertSizeToDeviceSpace(port, CGSizeMake(1.0, 1.0));
  const double scale = std::fabs(device.width) > kRetinaThreshold ? 2.0 : 1.0;
  if (scale != GetDrawScale()) {
    const double factor = scale / GetDrawScale();
    SetDrawScale(scale);
    Resize((int)(Width() * factor), (int)(Height() * factor));
    RebuildControls();
    // The new draw bitmap is blank: the rebuilt controls draw into it before it is shown, so
    // the first frame at the new scale is the editor, not an empty bitmap.
    IRECT all(0, 0, Width(), Height());
    return Draw(&all);
  }
  if (!mColorSpace) {
    CMProfileRef profile = nullptr;
    if (GetSystemVersion() >= kFirstVersionWithDisplayProfile &&
        CMGetSystemProfile(&profile) == 0) {
      mColorSpace = CGColorSpaceCreateWithPlatformColorSpace(profile);
      CMCloseProfile(profile);
    }
    if (!mColorSpace)
      mColorSpace = CGColorSpaceCreateDeviceRGB();
  }
  PIX_SysBitmap* bitmap = GetDrawBitmap();
  DrawingContext* context = bitmap ? bitmap->getDC() : nullptr;
  if (!context || !context->platformContext)
    return false;
  CGImageRef image = CGBitmapContextCreateImage(context->platformContext);
  if (!image)
    return false;
  // The whole bitmap; the view's clip keeps it to the area being drawn.
  CGContextDrawImage(port, CGRectMake(0, 0, Width() / GetDrawScale(), Height() / GetDrawScale()),
                     image);
  CGImageRelease(image);
  return true;
}

bool IEditorMac::MeasureIText(IText* text, const char* str, IRECT* rect) {
  NSAutoreleasePool pool;
  return DrawIText(text, str, rect, true);
}

// ---- menus and text entry ----

IPopupMenu* IEditorMac::CreateIPopupMenu(IPopupMenu* menu, IRECT* rect) {
  ReleaseMouseCapture();
  if (!mView || !menu || !rect)
    return nullptr;
  return mView->createIPopupMenu(menu, ToViewRect(*rect));
}

void IEditorMac::CreateTextEntry(IControl* control, IText* text, IRECT* rect, const char* str,
                                 IParam* param) {
  if (!mView || !rect)
    return;
  mView->createTextEntry(control, param, text, str, ToViewRect(*rect));
}

void IEditorMac::EndTextEntry() {
  if (mView)
    mView->endUserInput();
}

// ---- pointer and tool tips ----

void IEditorMac::HideMouseCursor(bool rememberPosition) {
  if (mCursorHidden)
    return;
  if (CGDisplayHideCursor(CGMainDisplayID()) != kCGErrorSuccess)
    return;
  mCursorHidden = true;
  if (rememberPosition) {
    const CGPoint where = NSEventMouseLocation();
    const CGRect screen = CGDisplayBounds(CGMainDisplayID());
    mHiddenMousePointX = (int)where.x;
    mHiddenMousePointY = (int)(screen.size.height - where.y);
  } else {
    mHiddenMousePointX = mHiddenMousePointY = 0;
  }
}

void IEditorMac::ShowMouseCursor() {
  if (!mCursorHidden)
    return;
  if (mHiddenMousePointX + mHiddenMousePointY != 0)
    CGDisplayMoveCursorToPoint(CGMainDisplayID(),
                               CGPointMake(mHiddenMousePointX, mHiddenMousePointY));
  if (CGDisplayShowCursor(CGMainDisplayID()) == kCGErrorSuccess)
    mCursorHidden = false;
}

void IEditorMac::UpdateTooltips() {
  if (!mView || !TooltipsEnabled())
    return;
  mView->removeAllToolTips();
  for (int i = 0; i < NControls(); ++i) {
    IControl* control = GetControl(i);
    const IRECT* target = control->GetTargetRECT();
    if (control->GetTooltip() && !control->IsHidden() && !target->Empty())
      mView->registerToolTip(*target);
  }
}
