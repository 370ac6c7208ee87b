#include "gui/IEditorView.h"

#include <cstring>

#include "AppKit/AppKit.h"
#include "gui/EditorEventSource.h"
#include "gui/IEditor.h"
#include "gui/IEditorController.h"
#if ORVANE_X11_WINDOWS
#include "x11/X11WindowBackend.h"
#endif

using namespace Steinberg;

namespace {

bool IsType(FIDString type, FIDString platform) {
  return std::strcmp(type, platform) == 0;
}

} // namespace

IEditorView::IEditorView(IEditorController* controller)
    : EditorView(controller, nullptr), mController(controller) {
#if ORVANE_X11_WINDOWS
  orvane::x11::X11WindowBackend::Register();
#endif
}

IEditorView::~IEditorView() {
  if (isAttached()) {
    StopEvents();
    CloseEditorWindow();
  }
}

IEditor* IEditorView::Editor() const {
  return mController ? mController->GetGUI() : nullptr;
}

tresult PLUGIN_API IEditorView::isPlatformTypeSupported(FIDString type) {
  if (!type)
    return kInvalidArgument;
  if (!Editor())
    return kResultFalse;
  // An X11 parent needs the X11 window back end in this binary.
  const bool supported = IsType(type, kPlatformTypeNSView) || IsType(type, kPlatformTypeHIView) ||
                         (IsType(type, kPlatformTypeX11EmbedWindowID) &&
                          NSWindowBackend::HasFactory(NSWindowBackend::Kind::X11));
  return supported ? kResultTrue : kResultFalse;
}

// An X11 editor lives on the host's run loop: a frame that offers none gets kResultFalse
// before anything is made.
tresult PLUGIN_API IEditorView::attached(void* parent, FIDString type) {
  if (!parent || !type)
    return kInvalidArgument;
  if (isAttached() || isPlatformTypeSupported(type) != kResultTrue)
    return kResultFalse;
  // The controller's one editor shows in one view at a time: a second view may not take the
  // window of the one that is open.
  if (mController->HasAttachedView())
    return kResultFalse;
  const bool x11 = IsType(type, kPlatformTypeX11EmbedWindowID);
  FUnknownPtr<Linux::IRunLoop> runLoop(plugFrame);
  if (x11 && !runLoop)
    return kResultFalse;
  if (!OpenEditorWindow(parent, type))
    return kResultFalse;
  if (x11 && !StartEvents(runLoop)) {
    CloseEditorWindowQuietly();
    return kResultFalse;
  }
  mX11 = x11;
  markAttached(parent);
  mController->OnGUIOpen();
  return kResultOk;
}

tresult PLUGIN_API IEditorView::removed() {
  if (!isAttached())
    return kResultFalse;
  StopEvents();
  CloseEditorWindow();
  mX11 = false;
  return EditorView::removed();
}

void IEditorView::ReleasePointer() {
  if (mHostWindow)
    mHostWindow->releasePointer();
}

// The events move with the frame: nothing stays on the run loop of a frame the host took away.
tresult PLUGIN_API IEditorView::setFrame(IPlugFrame* frame) {
  const bool moveEvents = mEvents != nullptr;
  StopEvents();
  const tresult result = EditorView::setFrame(frame);
  if (moveEvents) {
    FUnknownPtr<Linux::IRunLoop> runLoop(plugFrame);
    if (runLoop)
      StartEvents(runLoop);
  }
  return result;
}

bool IEditorView::StartEvents(Linux::IRunLoop* runLoop) {
  if (!mHostWindow || !mHostWindow->backend())
    return false;
  mEvents = new EditorEventSource(mHostWindow->backend(), [this] { FollowSize(); });
  if (mEvents->start(runLoop))
    return true;
  StopEvents();
  return false;
}

void IEditorView::StopEvents() {
  if (!mEvents)
    return;
  mEvents->stop();
  mEvents->release();
  mEvents = nullptr;
}

// The editor window's size in the host's units changed (the editor switched to its 2x
// bitmaps, or the scale changed): the host resizes its window through the frame.
void IEditorView::FollowSize() {
  ViewRect now;
  if (!plugFrame || getSize(&now) != kResultOk)
    return;
  if (now.getWidth() == mReportedSize.getWidth() && now.getHeight() == mReportedSize.getHeight())
    return;
  plugFrame->resizeView(this, &now);
}

// The editor's window closes and opens again in the same parent without the controller
// hearing of it (its editor stays open for the user).
void IEditorView::CloseEditorWindowQuietly() {
  if (IEditor* editor = Editor())
    editor->CloseWindow();
  CloseHostWindow();
}

tresult PLUGIN_API IEditorView::setContentScaleFactor(ScaleFactor factor) {
  if (!(factor > 0.f))
    return kInvalidArgument;
  mHostScale = factor;
  NSScreen::mainScreen()->setBackingScaleFactor(factor);
  if (!isAttached() || !mX11)
    return kResultOk;
  // The X11 window's scale is fixed when it is made: make it again at the new one.
  FUnknownPtr<Linux::IRunLoop> runLoop(plugFrame);
  StopEvents();
  CloseEditorWindowQuietly();
  if (!OpenEditorWindow(systemWindow, kPlatformTypeX11EmbedWindowID) || !StartEvents(runLoop))
    return kResultFalse;
  FollowSize();
  return kResultOk;
}

// Carbon views are gone: the back end opens nothing for "HIView".
bool IEditorView::OpenEditorWindow(void* parent, FIDString type) {
  IEditor* editor = Editor();
  if (IsType(type, kPlatformTypeHIView))
    return editor->OpenHIViewWindow(parent) != nullptr;
  if (!IsType(type, kPlatformTypeX11EmbedWindowID))
    return editor->OpenWindow(parent) != nullptr;
  // The window is sized in points; its back end makes the device pixels.
  const double scale = editor->GetDrawScale() > 0.0 ? editor->GetDrawScale() : 1.0;
  mHostWindow = NSWindow::windowForHostParent(
      NSWindowBackend::Kind::X11, parent,
      NSMakeSize(int(editor->Width() / scale), int(editor->Height() / scale)));
  if (!mHostWindow)
    return false;
  if (!editor->OpenWindow(mHostWindow->contentView())) {
    CloseHostWindow();
    return false;
  }
  return true;
}

void IEditorView::CloseHostWindow() {
  if (!mHostWindow)
    return;
  mHostWindow->close();
  mHostWindow->release();
  mHostWindow = nullptr;
}

void IEditorView::CloseEditorWindow() {
  IEditor* editor = Editor();
  if (editor) {
    mController->OnGUIClose();
    editor->CloseWindow();
  }
  CloseHostWindow();
}

// View points (draw-bitmap pixels divided by the drawing scale). A Linux host that embeds
// through X11, or that told a content scale, measures views in device pixels: there the points
// are multiplied by the window's backing scale (the host's factor before the window exists).
tresult PLUGIN_API IEditorView::getSize(ViewRect* size) {
  if (!size)
    return kInvalidArgument;
  const IEditor* editor = Editor();
  if (!editor)
    return kResultFalse;
  const double scale = editor->GetDrawScale() > 0.0 ? editor->GetDrawScale() : 1.0;
  double deviceScale = 1.0;
  if (mX11 && mHostWindow)
    deviceScale = mHostWindow->backingScaleFactor();
  else if (mHostScale > 0.f)
    deviceScale = mHostScale;
  *size = ViewRect(0, 0, int32(editor->Width() / scale * deviceScale),
                   int32(editor->Height() / scale * deviceScale));
  mReportedSize = *size;
  return kResultOk;
}

tresult PLUGIN_API IEditorView::onSize(ViewRect* newSize) {
  if (newSize)
    rect = *newSize;
  return kResultOk;
}
