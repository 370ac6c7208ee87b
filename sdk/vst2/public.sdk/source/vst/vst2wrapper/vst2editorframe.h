// Vst2EditorFrame: the host side a VST 3 view needs, made by the VST 2.4 wrapper for a host
// that knows only effEditOpen and effEditIdle. Resize requests go to the host as
// audioMasterSizeWindow; the view's descriptors and timers (Steinberg::Linux::IRunLoop) run
// when the host's idle calls reach idle(): readable descriptors are handled, due timers fire
// (a timer late by several periods fires once per period, a few at most, so time measured in
// its ticks keeps up with a host that idles slower than the timer's period).
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <cstdint>
#include <vector>

class AudioEffectX;

namespace Steinberg {
namespace Vst {

class Vst2EditorFrame : public IPlugFrame, public Linux::IRunLoop {
public:
  // At most this many firings of one timer per idle call.
  static constexpr int kMaxCatchUp = 8;

  explicit Vst2EditorFrame(AudioEffectX* effect);
  virtual ~Vst2EditorFrame();

  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* newSize) override;

  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler,
                                          Linux::FileDescriptor fd) override;
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override;
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler,
                                   Linux::TimerInterval milliseconds) override;
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override;

  // The host's idle call: readable descriptors, then due timers.
  void idle();
  size_t eventHandlerCount() const { return handlers.size(); }
  size_t timerCount() const { return timers.size(); }

private:
  struct Watch {
    Linux::IEventHandler* handler; // referenced
    Linux::FileDescriptor fd;
  };
  struct Timer {
    Linux::ITimerHandler* handler; // referenced
    std::uint64_t intervalMs;
    std::uint64_t dueMs;
  };

  static std::uint64_t nowMs();
  void dispatchReadable();
  void fireDueTimers();

  AudioEffectX* effect;
  std::vector<Watch> handlers;
  std::vector<Timer> timers;
  uint32 refs = 1;
};

} // namespace Vst
} // namespace Steinberg
