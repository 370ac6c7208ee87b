#pragma once
// The VST 3 plug view of an IEditorController's editor. Attaching it to the host's parent window
// opens the editor's window there through the back end: inside the host's NSView, or, for an
// X11 window id, inside a window of the window back end registered for X11 (see
// sdk/macos/AppKit/NSWindowBackend.h) that lives until the view is removed. Removing it closes
// that window. The editor and its controls outlive the view, so a
// reopened view shows the same controls and values. The host sees the editor's size in view
// points (draw-bitmap pixels divided by the drawing scale), or, embedding through X11 or after
// telling a content scale, in device pixels. On Linux the base pumps the
// plug-in's run loop from a host timer while the host's frame offers one.

#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"
#include "public.sdk/source/vst/vsteditorview.h"

class EditorEventSource;
class IEditor;
class IEditorController;
class NSWindow;

class IEditorView : public Steinberg::Vst::EditorView,
                    public Steinberg::IPlugViewContentScaleSupport {
public:
  explicit IEditorView(IEditorController* controller);
  // Closes the editor's window when the host releases the view without removing it.
  ~IEditorView() override;

  // "NSView", "HIView" and (with an X11 window back end registered) "X11EmbedWindowID" while
  // the controller has an editor.
  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  // Opens the editor's window in parent; kInvalidArgument for no parent, kResultFalse (and
  // nothing changed) without an editor, for an unsupported type, when attached already,
  // while another view of the controller is attached, or when no window opened ("HIView"
  // opens none). An X11 parent also needs the frame's
  // Linux::IRunLoop: the window's descriptor and a timer are registered there until removed.
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  // Closes the window and unregisters everything from the host's run loop, which is not called
  // again; kResultFalse when the view is not attached.
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
  // An attached X11 view's descriptor and timer move to the new frame's run loop.
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;

  // The host's display scale: the stand-in screen's backing scale, which the editor's drawing
  // measures (2x bitmaps above 1.9). An open X11 window is made again at the new scale and
  // the host asked to resize. kInvalidArgument for a factor that is not above 0.
  Steinberg::tresult PLUGIN_API setContentScaleFactor(ScaleFactor factor) override;

  // Gives up the pointer the editor's window holds for a press (before a host's menu opens).
  void ReleasePointer();

  OBJ_METHODS(IEditorView, EditorView)
  DEFINE_INTERFACES
  DEF_INTERFACE(Steinberg::IPlugViewContentScaleSupport)
  END_DEFINE_INTERFACES(EditorView)
  REFCOUNT_METHODS(EditorView)

private:
  IEditor* Editor() const;
  // True when a window opened.
  bool OpenEditorWindow(void* parent, Steinberg::FIDString type);
  void CloseEditorWindow();
  void CloseEditorWindowQuietly();
  void CloseHostWindow();
  bool StartEvents(Steinberg::Linux::IRunLoop* runLoop);
  void StopEvents();
  void FollowSize();

  IEditorController* mController;
  NSWindow* mHostWindow = nullptr;      // the window made inside an X11 parent, owned
  EditorEventSource* mEvents = nullptr; // while attached to an X11 parent
  bool mX11 = false;                    // attached to an X11 parent
  float mHostScale = 0.f;               // the host's content scale factor, 0 until it tells one
  Steinberg::ViewRect mReportedSize;    // what getSize last told the host
};
