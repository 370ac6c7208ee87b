#include "public.sdk/source/vst/vst2wrapper/vst2editorframe.h"

#include "public.sdk/source/vst2.x/audioeffectx.h"

#include <poll.h>
#include <time.h>

#include <algorithm>

namespace Steinberg {
namespace Vst {

Vst2EditorFrame::Vst2EditorFrame(AudioEffectX* effect) : effect(effect) {}

Vst2EditorFrame::~Vst2EditorFrame() {
  for (Watch& w : handlers)
    w.handler->release();
  for (Timer& t : timers)
    t.handler->release();
}

tresult PLUGIN_API Vst2EditorFrame::queryInterface(const TUID iid, void** obj) {
  if (!obj)
    return kInvalidArgument;
  if (iidEqual(iid, FUnknown::iid) || iidEqual(iid, IPlugFrame::iid)) {
    *obj = static_cast<IPlugFrame*>(this);
  } else if (iidEqual(iid, Linux::IRunLoop::iid)) {
    *obj = static_cast<Linux::IRunLoop*>(this);
  } else {
    *obj = nullptr;
    return kNoInterface;
  }
  addRef();
  return kResultOk;
}

uint32 PLUGIN_API Vst2EditorFrame::addRef() {
  return ++refs;
}

uint32 PLUGIN_API Vst2EditorFrame::release() {
  const uint32 left = --refs;
  if (left == 0)
    delete this;
  return left;
}

tresult PLUGIN_API Vst2EditorFrame::resizeView(IPlugView* view, ViewRect* newSize) {
  if (!view || !newSize)
    return kInvalidArgument;
  if (effect)
    effect->sizeWindow(newSize->getWidth(), newSize->getHeight());
  view->onSize(newSize);
  return kResultOk;
}

tresult PLUGIN_API Vst2EditorFrame::registerEventHandler(Linux::IEventHandler* handler,
                                                         Linux::FileDescriptor fd) {
  if (!handler || fd < 0)
    return kInvalidArgument;
  handler->addRef();
  handlers.push_back({handler, fd});
  return kResultOk;
}

tresult PLUGIN_API Vst2EditorFrame::unregisterEventHandler(Linux::IEventHandler* handler) {
  const auto it = std::find_if(handlers.begin(), handlers.end(),
                               [&](const Watch& w) { return w.handler == handler; });
  if (it == handlers.end())
    return kInvalidArgument;
  Linux::IEventHandler* gone = it->handler;
  handlers.erase(it);
  gone->release();
  return kResultOk;
}

tresult PLUGIN_API Vst2EditorFrame::registerTimer(Linux::ITimerHandler* handler,
                                                  Linux::TimerInterval milliseconds) {
  if (!handler)
    return kInvalidArgument;
  for (const Timer& t : timers)
    if (t.handler == handler)
      return kInvalidArgument;
  handler->addRef();
  const std::uint64_t interval = std::max<std::uint64_t>(milliseconds, 1);
  timers.push_back({handler, interval, nowMs() + interval});
  return kResultOk;
}

tresult PLUGIN_API Vst2EditorFrame::unregisterTimer(Linux::ITimerHandler* handler) {
  const auto it = std::find_if(timers.begin(), timers.end(),
                               [&](const Timer& t) { return t.handler == handler; });
  if (it == timers.end())
    return kInvalidArgument;
  Linux::ITimerHandler* gone = it->handler;
  timers.erase(it);
  gone->release();
  return kResultOk;
}

std::uint64_t Vst2EditorFrame::nowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return std::uint64_t(t.tv_sec) * 1000 + std::uint64_t(t.tv_nsec) / 1000000;
}

void Vst2EditorFrame::idle() {
  dispatchReadable();
  fireDueTimers();
}

// A handler may unregister itself or others while called: work on a referenced copy and
// skip the ones that are gone by their turn.
void Vst2EditorFrame::dispatchReadable() {
  if (handlers.empty())
    return;
  std::vector<pollfd> fds;
  std::vector<Watch> watched = handlers;
  for (const Watch& w : watched) {
    fds.push_back({w.fd, POLLIN, 0});
    w.handler->addRef();
  }
  if (poll(fds.data(), fds.size(), 0) > 0) {
    for (size_t i = 0; i < fds.size(); ++i) {
      const bool registered = std::any_of(handlers.begin(), handlers.end(), [&](const Watch& w) {
        return w.handler == watched[i].handler;
      });
      if (registered && (fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
        watched[i].handler->onFDIsSet(watched[i].fd);
    }
  }
  for (const Watch& w : watched)
    w.handler->release();
}

void Vst2EditorFrame::fireDueTimers() {
  const std::uint64_t now = nowMs();
  std::vector<Linux::ITimerHandler*> due;
  for (Timer& t : timers) {
    for (int n = 0; t.dueMs <= now && n < kMaxCatchUp; ++n) {
      due.push_back(t.handler);
      t.dueMs += t.intervalMs;
    }
    if (t.dueMs <= now) // further behind than the catch-up: keep the phase from now
      t.dueMs = now + t.intervalMs;
  }
  for (Linux::ITimerHandler* h : due)
    h->addRef();
  for (Linux::ITimerHandler* h : due) {
    const bool registered =
        std::any_of(timers.begin(), timers.end(), [&](const Timer& t) { return t.handler == h; });
    if (registered)
      h->onTimer();
  }
  for (Linux::ITimerHandler* h : due)
    h->release();
}

} // namespace Vst
} // namespace Steinberg
