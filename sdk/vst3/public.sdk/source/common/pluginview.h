// CPluginView: the IPlugView base of a plug-in's editor view: the view rectangle, the host's
// parent window while attached, and the host's IPlugFrame.
//
// On Linux the host's frame also offers Steinberg::Linux::IRunLoop. While the view is attached
// to a parent and has a frame with one, it registers a timer there that pumps the
// process-wide run loop, so the plug-in's timers (meters, editor redraws) run on the host's
// GUI thread. removed() unregisters it and lets go of the run loop: the host may tear its
// loop down with the parent window, so nothing is called on it after that. The run loop
// keeps its own time (see sdk/macos/runloop/RunLoop.h): a late host tick runs whatever came
// due meanwhile, and a host that publishes its clock (a test host) drives it with that.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {

class CPluginView : public FObject, public IPlugView {
public:
  // The period of the host timer that pumps the run loop.
  static constexpr uint32 kRunLoopPumpIntervalMs = 10;

  explicit CPluginView(const ViewRect* rect = nullptr);
  ~CPluginView() override;

  const ViewRect& getRect() const { return rect; }
  void setRect(const ViewRect& r) { rect = r; }

  bool isAttached() const { return systemWindow != nullptr; }
  void* getSystemWindow() const { return systemWindow; }
  IPlugFrame* getFrame() const { return plugFrame; }

  // Hooks for subclasses: the view went into / came out of the host's window.
  virtual void attachedToParent() {}
  virtual void removedFromParent() {}

  // IPlugView
  // kResultTrue for "X11EmbedWindowID", the Linux host window type; kResultFalse otherwise.
  tresult PLUGIN_API isPlatformTypeSupported(FIDString type) override;
  // kInvalidArgument for a null parent, kResultFalse for an unsupported type or while
  // attached already.
  tresult PLUGIN_API attached(void* parent, FIDString type) override;
  // Unregisters the run-loop pump, forgets the parent and calls removedFromParent (also when
  // attached was a subclass's own).
  tresult PLUGIN_API removed() override;
  tresult PLUGIN_API onWheel(float distance) override;
  tresult PLUGIN_API onKeyDown(char16 key, int16 keyCode, int16 modifiers) override;
  tresult PLUGIN_API onKeyUp(char16 key, int16 keyCode, int16 modifiers) override;
  // kInvalidArgument for null.
  tresult PLUGIN_API getSize(ViewRect* size) override;
  // Stores the new rectangle; null changes nothing.
  tresult PLUGIN_API onSize(ViewRect* newSize) override;
  tresult PLUGIN_API onFocus(TBool state) override;
  // Keeps the frame with a reference (null drops it); while attached the run-loop pump moves
  // to the new frame's run loop.
  tresult PLUGIN_API setFrame(IPlugFrame* frame) override;
  tresult PLUGIN_API canResize() override;
  tresult PLUGIN_API checkSizeConstraint(ViewRect* rect) override;

  OBJ_METHODS(CPluginView, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IPlugView)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)

protected:
  // What attached() does once the parent is accepted, for subclasses that open their window
  // themselves: keeps the parent, starts the run-loop pump, calls attachedToParent.
  void markAttached(void* parent);

  ViewRect rect;
  void* systemWindow = nullptr;
  IPtr<IPlugFrame> plugFrame;

private:
  class RunLoopPump;
  void startRunLoopPump();
  void stopRunLoopPump();

  IPtr<Linux::IRunLoop> hostRunLoop;
  RunLoopPump* pump = nullptr;
};

} // namespace Steinberg
