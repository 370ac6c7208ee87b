#pragma once
// The view of an IEditorMac: what the host embeds. It redraws the editor from a timer at the
// editor's frame rate when something is dirty, turns mouse, wheel and key events into the
// editor's events in draw-bitmap pixels, and runs pop-up menus and the text entry of a
// parameter prompt. Its name carries the build's suffix (CocoaClassNames.h).

#include "AppKit/AppKit.h"
#include "gui/CocoaClassNames.h"
#include "gui/IMouseMod.h"

class IControl;
class IEditorMac;
class IParam;
class IPopupMenu;
struct IRECT;
class IText;

class IEditorCocoa : public NSView,
                     public NSActionTarget,
                     public NSTextFieldDelegate,
                     public NSToolTipOwner {
public:
  // initWithIEditor: a view of the editor's size in points with its redraw timer running.
  explicit IEditorCocoa(IEditorMac* graphics);
  ~IEditorCocoa() override;

  bool isOpaque() const override { return mGraphics != nullptr; }
  bool acceptsFirstResponder() override { return true; }
  bool acceptsFirstMouse(NSEvent*) override { return true; }
  void viewDidMoveToWindow() override;
  void drawRect(NSRect rect) override;
  // The redraw timer's tick: marks the dirty area of the editor for display.
  void onTimer(NSTimer* timer);
  // The event's location in draw-bitmap pixels, also kept as the last mouse position.
  void getMouseXY(NSEvent* event, int* x, int* y);

  void mouseDown(NSEvent* event) override;
  void mouseUp(NSEvent* event) override;
  void mouseDragged(NSEvent* event) override;
  void rightMouseDown(NSEvent* event) override;
  void rightMouseUp(NSEvent* event) override;
  void rightMouseDragged(NSEvent* event) override;
  void mouseMoved(NSEvent* event) override;
  // Keys of one character that map to an editor key code go to the editor; the rest, and
  // those the editor leaves, go on to the next responder.
  void keyDown(NSEvent* event) override;
  void scrollWheel(NSEvent* event) override;

  void killTimer();
  // Ends the text entry and detaches from the editor (closing its window) before leaving.
  void removeFromSuperview() override;
  // The entry ended: its text goes to the parameter (or the control), then the field goes.
  void controlTextDidEndEditing(NSTextField* field) override;
  // The user cancelled the entry: the field goes and nothing is set or reported to the host.
  void controlTextDidCancelEditing(NSTextField* field) override;
  // Runs menu at the view rectangle's origin; the menu (or submenu) whose item was chosen,
  // with its chosen index set, or null.
  IPopupMenu* createIPopupMenu(IPopupMenu* menu, NSRect rect);
  void createTextEntry(IControl* control, IParam* param, IText* text, const char* str, NSRect rect);
  void endUserInput();
  std::string stringForToolTip(NSView* view, NSToolTipTag tag, NSPoint point,
                               void* userData) override;
  void registerToolTip(const IRECT& rect);

  bool performAction(SEL action, NSObject* sender) override;

  bool IsTextEntryOpen() const { return mTextFieldView != nullptr; }
  NSTextField* TextField() const { return mTextFieldView; }

  IEditorMac* mGraphics;                 // null once detached
  NSTimer* mTimer = nullptr;             // owned reference while running
  NSTextField* mTextFieldView = nullptr; // retained while open
  IControl* mEdControl = nullptr;
  IParam* mEdParam = nullptr;
  int mPrevX = 0, mPrevY = 0;

private:
  // The event's location in draw-bitmap pixels; false (nothing to do) once detached.
  bool Locate(NSEvent* event, int* x, int* y);
  IMouseMod LeftModifiers(NSEvent* event) const;
  IMouseMod RightModifiers(NSEvent* event) const;
};
