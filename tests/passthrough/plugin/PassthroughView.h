// A minimal editor view: a rectangle that, while attached, keeps a 40 ms timer on the host's
// run loop which pumps this module's own run loop. On that loop a 100 ms timer asks the host
// to keep the frame at the view's size: a visible effect of the module's own timers.
#pragma once

#include "pluginterfaces/gui/iplugview.h"
#include "sdk/macos/runloop/RunLoop.h"

namespace orvane::passthrough {

class PassthroughController;

class PassthroughView : public Steinberg::IPlugView, public Steinberg::Linux::ITimerHandler {
public:
  static constexpr Steinberg::int32 kDefaultWidth = 300;
  static constexpr Steinberg::int32 kDefaultHeight = 120;

  explicit PassthroughView(PassthroughController* controller);
  virtual ~PassthroughView();

  DECLARE_FUNKNOWN_METHODS

  Steinberg::tresult PLUGIN_API isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult PLUGIN_API removed() override;
  Steinberg::tresult PLUGIN_API onWheel(float) override { return Steinberg::kResultFalse; }
  Steinberg::tresult PLUGIN_API onKeyDown(Steinberg::char16, Steinberg::int16,
                                          Steinberg::int16) override {
    return Steinberg::kResultFalse;
  }
  Steinberg::tresult PLUGIN_API onKeyUp(Steinberg::char16, Steinberg::int16,
                                        Steinberg::int16) override {
    return Steinberg::kResultFalse;
  }
  Steinberg::tresult PLUGIN_API getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult PLUGIN_API onSize(Steinberg::ViewRect* newSize) override;
  Steinberg::tresult PLUGIN_API onFocus(Steinberg::TBool) override { return Steinberg::kResultOk; }
  Steinberg::tresult PLUGIN_API setFrame(Steinberg::IPlugFrame* frame) override;
  Steinberg::tresult PLUGIN_API canResize() override { return Steinberg::kResultTrue; }
  Steinberg::tresult PLUGIN_API checkSizeConstraint(Steinberg::ViewRect* rect) override;

  void PLUGIN_API onTimer() override;

private:
  static constexpr std::uint32_t kRefreshIntervalMs = 100;

  void stopTimer();
  void refresh();

  PassthroughController* controller;
  Steinberg::IPlugFrame* frame = nullptr;
  Steinberg::Linux::IRunLoop* runLoop = nullptr;
  Steinberg::ViewRect rect;
  RunLoop::TimerId refreshTimer = RunLoop::kNoTimer;
  bool isAttached = false;
};

} // namespace orvane::passthrough
