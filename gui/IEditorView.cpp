#include "gui/IEditorView.h"

#include <cstring>

#include "AppKit/AppKit.h"
#include "gui/IEditor.h"
#include "gui/IEditorController.h"

using namespace Steinberg;

namespace {

bool IsType(FIDString type, FIDString platform) {
  return std::strcmp(type, platform) == 0;
}

} // namespace

IEditorView::IEditorView(IEditorController* controller)
    : EditorView(controller, nullptr), mController(controller) {}

IEditorView::~IEditorView() {
  if (isAttached())
    CloseEditorWindow();
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

tresult PLUGIN_API IEditorView::attached(void* parent, FIDString type) {
  if (!parent || !type)
    return kInvalidArgument;
  if (isAttached() || isPlatformTypeSupported(type) != kResultTrue)
    return kResultFalse;
  if (!OpenEditorWindow(parent, type))
    return kResultFalse;
  systemWindow = parent;
  attachedToParent();
  mController->OnGUIOpen();
  return kResultOk;
}

tresult PLUGIN_API IEditorView::removed() {
  if (!isAttached())
    return kResultFalse;
  CloseEditorWindow();
  return EditorView::removed();
}

// Carbon views are gone: the back end opens nothing for "HIView".
bool IEditorView::OpenEditorWindow(void* parent, FIDString type) {
  IEditor* editor = Editor();
  if (IsType(type, kPlatformTypeHIView))
    return editor->OpenHIViewWindow(parent) != nullptr;
  if (!IsType(type, kPlatformTypeX11EmbedWindowID))
    return editor->OpenWindow(parent) != nullptr;
  ViewRect size;
  getSize(&size);
  mHostWindow = NSWindow::windowForHostParent(NSWindowBackend::Kind::X11, parent,
                                              NSMakeSize(size.getWidth(), size.getHeight()));
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

tresult PLUGIN_API IEditorView::getSize(ViewRect* size) {
  if (!size)
    return kInvalidArgument;
  const IEditor* editor = Editor();
  if (!editor)
    return kResultFalse;
  const double scale = editor->GetDrawScale() > 0.0 ? editor->GetDrawScale() : 1.0;
  *size = ViewRect(0, 0, int32(editor->Width() / scale), int32(editor->Height() / scale));
  return kResultOk;
}

tresult PLUGIN_API IEditorView::onSize(ViewRect* newSize) {
  if (newSize)
    rect = *newSize;
  return kResultOk;
}
