// The editor's view: redraw timer, events in draw-bitmap pixels, pop-up menus and text entry.
#include "gui/IEditorCocoa.h"

#include <cmath>

#include "framework/IParam.h"
#include "gui/CocoaFormatter.h"
#include "gui/IControl.h"
#include "gui/IEditorMac.h"
#include "gui/IEditorMenuRcvr.h"
#include "gui/IEditorNSMenu.h"
#include "gui/IKeyCode.h"
#include "gui/IPopupMenu.h"
#include "gui/IText.h"

namespace {

constexpr SEL kOnTimer = "onTimer:";

// The menu opens this many points below the point asked for.
constexpr double kMenuDrop = 4.0;

// The editor's key code of a key, or -1 when the editor has none for it.
int EditorKeyCode(std::uint16_t keyCode, char character) {
  switch (keyCode) {
  case kVK_Space:
    return KEY_SPACE;
  case kVK_LeftArrow:
    return KEY_LEFTARROW;
  case kVK_RightArrow:
    return KEY_RIGHTARROW;
  case kVK_DownArrow:
    return KEY_DOWNARROW;
  case kVK_UpArrow:
    return KEY_UPARROW;
  default:
    break;
  }
  if (character >= '0' && character <= '9')
    return KEY_DIGIT_0 + (character - '0');
  if (character >= 'A' && character <= 'Z')
    return KEY_ALPHA_A + (character - 'A');
  if (character >= 'a' && character <= 'z')
    return KEY_ALPHA_A + (character - 'a');
  return -1;
}

// The characters a text entry for the parameter accepts; empty: any.
const char* AcceptedCharacters(const IParam& param) {
  switch (param.Type()) {
  case IParam::kTypeDouble:
    return "0123456789.-+";
  case IParam::kTypeBool:
  case IParam::kTypeInt:
  case IParam::kTypeEnum:
    return "0123456789-+";
  default:
    return "";
  }
}

NSColor ColorOf(const IColor& color) {
  return NSColor::colorWithCalibratedRed(color.R / 255.0, color.G / 255.0, color.B / 255.0,
                                         color.A / 255.0);
}

} // namespace

IEditorCocoa::IEditorCocoa(IEditorMac* graphics)
    : NSView(NSMakeRect(0, 0, graphics->Width() / graphics->GetDrawScale(),
                        graphics->Height() / graphics->GetDrawScale())),
      mGraphics(graphics) {
  mTimer = NSTimer::timerWithTimeInterval(1.0 / graphics->FPS(), this, kOnTimer, true);
  // Common modes: redraws go on while a menu is tracked or the window resized.
  NSRunLoop::currentRunLoop()->addTimer(mTimer, NSRunLoopCommonModes);
}

IEditorCocoa::~IEditorCocoa() {
  killTimer();
  if (mTextFieldView)
    mTextFieldView->release();
}

void IEditorCocoa::viewDidMoveToWindow() {
  if (NSWindow* w = window()) {
    w->makeFirstResponder(this);
    w->setAcceptsMouseMovedEvents(true);
  }
}

bool IEditorCocoa::performAction(SEL action, NSObject* sender) {
  if (action != kOnTimer)
    return false;
  onTimer(static_cast<NSTimer*>(sender));
  return true;
}

void IEditorCocoa::onTimer(NSTimer* timer) {
  if (timer != mTimer || !mGraphics)
    return;
  IRECT dirty;
  if (mGraphics->IsDirty(&dirty))
    setNeedsDisplayInRect(mGraphics->ToViewRect(dirty));
}

void IEditorCocoa::drawRect(NSRect rect) {
  if (!mGraphics)
    return;
  IRECT pixels = mGraphics->ToPixelRect(rect);
  mGraphics->Draw(&pixels);
}

void IEditorCocoa::killTimer() {
  if (!mTimer)
    return;
  mTimer->invalidate();
  mTimer->release();
  mTimer = nullptr;
}

// ---- mouse ----

void IEditorCocoa::getMouseXY(NSEvent* event, int* x, int* y) {
  const NSPoint point = convertPoint(event->locationInWindow(), nullptr);
  if (mGraphics)
    mGraphics->ToPixelPoint(point, x, y);
  mPrevX = *x;
  mPrevY = *y;
}

IMouseMod IEditorCocoa::LeftModifiers(NSEvent* event) const {
  const NSEventModifierFlags flags = event->modifierFlags();
  IMouseMod mod;
  mod.L = true;
  mod.R = (flags & NSCommandKeyMask) != 0;
  mod.S = (flags & NSShiftKeyMask) != 0;
  mod.C = (flags & NSControlKeyMask) != 0;
  mod.A = (flags & NSAlternateKeyMask) != 0;
  return mod;
}

IMouseMod IEditorCocoa::RightModifiers(NSEvent* event) const {
  IMouseMod mod = LeftModifiers(event);
  mod.L = false;
  mod.R = true;
  return mod;
}

bool IEditorCocoa::Locate(NSEvent* event, int* x, int* y) {
  if (!mGraphics)
    return false;
  getMouseXY(event, x, y);
  return true;
}

void IEditorCocoa::mouseDown(NSEvent* event) {
  int x = 0, y = 0;
  if (!Locate(event, &x, &y))
    return;
  if (event->clickCount() > 1)
    mGraphics->OnMouseDblClick(x, y, LeftModifiers(event));
  else
    mGraphics->OnMouseDown(x, y, LeftModifiers(event));
}

void IEditorCocoa::rightMouseDown(NSEvent* event) {
  int x = 0, y = 0;
  if (Locate(event, &x, &y))
    mGraphics->OnMouseDown(x, y, RightModifiers(event));
}

void IEditorCocoa::mouseUp(NSEvent* event) {
  int x = 0, y = 0;
  if (Locate(event, &x, &y))
    mGraphics->OnMouseUp(x, y, LeftModifiers(event));
}

void IEditorCocoa::rightMouseUp(NSEvent* event) {
  int x = 0, y = 0;
  if (Locate(event, &x, &y))
    mGraphics->OnMouseUp(x, y, RightModifiers(event));
}

// No drags while a text field is open.
void IEditorCocoa::mouseDragged(NSEvent* event) {
  int x = 0, y = 0;
  if (!mTextFieldView && Locate(event, &x, &y))
    mGraphics->OnMouseDrag(x, y, LeftModifiers(event));
}

void IEditorCocoa::rightMouseDragged(NSEvent* event) {
  int x = 0, y = 0;
  if (!mTextFieldView && Locate(event, &x, &y))
    mGraphics->OnMouseDrag(x, y, RightModifiers(event));
}

void IEditorCocoa::mouseMoved(NSEvent* event) {
  int x = 0, y = 0;
  if (Locate(event, &x, &y))
    mGraphics->OnMouseOver(x, y, LeftModifiers(event));
}

void IEditorCocoa::scrollWheel(NSEvent* event) {
  if (!mGraphics)
    return;
  if (mTextFieldView)
    endUserInput();
  int x = 0, y = 0;
  getMouseXY(event, &x, &y);
  // A fractional step of less than one line gives 0.
  mGraphics->OnMouseWheel(x, y, LeftModifiers(event), (int)std::trunc(event->deltaY()));
}

// ---- keys ----

void IEditorCocoa::keyDown(NSEvent* event) {
  const std::string& characters = event->charactersIgnoringModifiers();
  if (NSCharacterCount(characters) != 1)
    return; // dead keys and composed input: dropped
  const int key = EditorKeyCode(event->keyCode(), characters[0]);
  if (key >= 0 && mGraphics && mGraphics->OnKeyDown(mPrevX, mPrevY, key))
    return;
  NSView::keyDown(event); // the next responder's turn
}

// ---- life ----

void IEditorCocoa::removeFromSuperview() {
  retain(); // closing the editor's window lets go of its reference
  if (mTextFieldView)
    endUserInput();
  if (IEditorMac* graphics = mGraphics) {
    mGraphics = nullptr;
    graphics->CloseWindow();
  }
  NSView::removeFromSuperview();
  release();
}

// ---- text entry ----

void IEditorCocoa::createTextEntry(IControl* control, IParam* param, IText* text, const char* str,
                                   NSRect rect) {
  if (!control || mTextFieldView || !window())
    return;
  auto* field = new NSTextField(rect);
  if (text) {
    NSStringRef fontName = CFStringCreateWithCString(nullptr, text->mFont, kCFStringEncodingUTF8);
    NSFont* font = NSFont::fontWithName(fontName, (int)(text->mSize * 0.9));
    if (fontName)
      CFRelease(fontName);
    field->setFont(font);
    switch (text->mAlign) {
    case IText::kAlignNear:
      field->setAlignment(NSLeftTextAlignment);
      break;
    case IText::kAlignCenter:
      field->setAlignment(NSCenterTextAlignment);
      break;
    case IText::kAlignFar:
      field->setAlignment(NSRightTextAlignment);
      break;
    default:
      break;
    }
    field->setTextColor(ColorOf(text->mTextEntryFGColor));
    field->setBackgroundColor(ColorOf(text->mTextEntryBGColor));
  }
  if (param) {
    auto* formatter = new CocoaFormatter;
    formatter->setAcceptableCharacterSet(AcceptedCharacters(*param));
    formatter->setMaximumLength(control->GetTextEntryLength());
    field->setFormatter(formatter);
    formatter->release();
  }
  field->setLineBreakMode(NSLineBreakByTruncatingTail);
  field->setAllowsEditingTextAttributes(false);
  field->setStringValue(str ? str : "");
  field->setBordered(false);
  field->setFocusRingType(NSFocusRingTypeNone);
  field->setDelegate(this);
  addSubview(field);
  mTextFieldView = field; // keeps the reference new gave
  mEdControl = control;
  mEdParam = param;
  window()->makeKeyAndOrderFront();
  window()->makeFirstResponder(field);
}

void IEditorCocoa::controlTextDidEndEditing(NSTextField* field) {
  if (field != mTextFieldView)
    return;
  const std::string text = field->stringValue();
  IControl* control = mEdControl;
  IParam* param = mEdParam;
  endUserInput();
  if (mGraphics && control) {
    if (param)
      mGraphics->SetFromStringAfterPrompt(control, param, text.c_str());
    else
      control->SetTextFromTextEntry(text.c_str());
  }
  setNeedsDisplay(true);
}

void IEditorCocoa::controlTextDidCancelEditing(NSTextField* field) {
  if (field != mTextFieldView)
    return;
  endUserInput();
  setNeedsDisplay(true);
}

void IEditorCocoa::endUserInput() {
  NSTextField* field = mTextFieldView;
  if (!field)
    return;
  mTextFieldView = nullptr;
  mEdControl = nullptr;
  mEdParam = nullptr;
  field->setDelegate(nullptr);
  field->removeFromSuperview();
  if (window())
    window()->makeFirstResponder(this);
  field->release();
}

// ---- pop-up menus ----

IPopupMenu* IEditorCocoa::createIPopupMenu(IPopupMenu* menu, NSRect rect) {
  if (!menu)
    return nullptr;
  auto* receiver = new IEditorMenuRcvr;
  auto* nsMenu = new IEditorNSMenu(menu, receiver);
  // In window points at every backing scale: the window system places it.
  const NSPoint location =
      convertPointToView(NSMakePoint(rect.origin.x, rect.origin.y - kMenuDrop), nullptr);
  NSEvent event = NSEvent::mouseEvent(NSLeftMouseDown, location, 0, window(), 1);
  NSMenu::popUpContextMenu(nsMenu, &event, this);

  IPopupMenu* chosen = nullptr;
  if (NSMenuItem* item = receiver->MenuItem()) {
    if (auto* owner = dynamic_cast<IEditorNSMenu*>(item->menu())) {
      chosen = owner->AssociatedIPopupMenu();
      chosen->SetChosenItemIdx(owner->indexOfItem(item));
    }
  }
  nsMenu->release();
  receiver->release();
  setNeedsDisplay(true);
  return chosen;
}

// ---- tool tips ----

void IEditorCocoa::registerToolTip(const IRECT& rect) {
  if (mGraphics)
    addToolTipRect(mGraphics->ToViewRect(rect), this, nullptr);
}

std::string IEditorCocoa::stringForToolTip(NSView*, NSToolTipTag, NSPoint, void*) {
  if (!mGraphics)
    return {};
  IControl* control = mGraphics->GetControl(mGraphics->GetMouseOver());
  const char* tip = control ? control->GetTooltip() : nullptr;
  return tip ? tip : "";
}
