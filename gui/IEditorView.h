#pragma once
// The VST 3 plug view of an IEditorController's editor. Attaching it to the host's parent window
// opens the editor's window there through the back end (an NSView on macOS, an X11 window id on
// Linux); removing it closes that window. The editor and its controls outlive the view, so a
// reopened view shows the same controls and values. The host sees the editor's size in view
// points (draw-bitmap pixels divided by the drawing scale). On Linux the base pumps the
// plug-in's run loop from a host timer while the host's frame offers one.

#include "public.sdk/source/vst/vsteditorview.h"

class IEditor;
class IEditorController;

class IEditorView : public Steinberg::Vst::EditorView {
public:
  explicit IEditorView(IEditorController* controller);
  // Closes the editor's window when the host releases the view without removing it.
  ~IEditorView() override;

  // "NSView", "HIView" and "X11EmbedWindowID" while the controller has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  // Opens the editor's window in parent; kInvalidArgument for no parent, kResultFalse without
  // an editor, for an unsupported type or when attached already.
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  // Closes the window; kResultFalse when the view is not attached.
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;

  OBJ_METHODS(IEditorView, EditorView)

private:
  IEditor* Editor() const;
  void OpenEditorWindow(void* parent, Steinberg::FIDString type);
  void CloseEditorWindow();

  IEditorController* mController;
};
