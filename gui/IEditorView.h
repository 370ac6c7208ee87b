#pragma once
// The VST 3 plug view of an IEditorController's editor. Attaching it to the host's parent window
// opens the editor's window there through the back end: inside the host's NSView, or, for an
// X11 window id, inside a window of the window back end registered for X11 (see
// sdk/macos/AppKit/NSWindowBackend.h) that lives until the view is removed. Removing it closes
// that window. The editor and its controls outlive the view, so a
// reopened view shows the same controls and values. The host sees the editor's size in view
// points (draw-bitmap pixels divided by the drawing scale). On Linux the base pumps the
// plug-in's run loop from a host timer while the host's frame offers one.

#include "public.sdk/source/vst/vsteditorview.h"

class IEditor;
class IEditorController;
class NSWindow;

class IEditorView : public Steinberg::Vst::EditorView {
public:
  explicit IEditorView(IEditorController* controller);
  // Closes the editor's window when the host releases the view without removing it.
  ~IEditorView() override;

  // "NSView", "HIView" and (with an X11 window back end registered) "X11EmbedWindowID" while
  // the controller has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  // Opens the editor's window in parent; kInvalidArgument for no parent, kResultFalse (and
  // nothing changed) without an editor, for an unsupported type, when attached already, or
  // when no window opened ("HIView" opens none).
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  // Closes the window; kResultFalse when the view is not attached.
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;

  OBJ_METHODS(IEditorView, EditorView)

private:
  IEditor* Editor() const;
  // True when a window opened.
  bool OpenEditorWindow(void* parent, Steinberg::FIDString type);
  void CloseEditorWindow();
  void CloseHostWindow();

  IEditorController* mController;
  NSWindow* mHostWindow = nullptr; // the window made inside an X11 parent, owned
};
