#include "gui/EditorEventSource.h"

#include "AppKit/NSWindowBackend.h"

using namespace Steinberg;

EditorEventSource::EditorEventSource(NSWindowBackend* backend, std::function<void()> onTick)
    : backend(backend), tick(std::move(onTick)) {}

EditorEventSource::~EditorEventSource() {
  stop();
}

bool EditorEventSource::start(Linux::IRunLoop* runLoop) {
  if (!runLoop || !backend)
    return false;
  loop = runLoop;
  // A back end without a connection (off-screen) has no descriptor, only the tick.
  const int fd = backend->eventDescriptor();
  if (fd >= 0) {
    if (loop->registerEventHandler(this, fd) != kResultOk) {
      stop();
      return false;
    }
    watching = true;
  }
  if (loop->registerTimer(this, kTickMs) != kResultOk) {
    stop();
    return false;
  }
  timing = true;
  return true;
}

void EditorEventSource::stop() {
  if (loop) {
    if (watching)
      loop->unregisterEventHandler(this);
    if (timing)
      loop->unregisterTimer(this);
  }
  watching = timing = false;
  loop = nullptr;
  backend = nullptr;
}

void PLUGIN_API EditorEventSource::onFDIsSet(Linux::FileDescriptor) {
  if (backend)
    backend->dispatchEvents();
}

void PLUGIN_API EditorEventSource::onTimer() {
  if (!backend)
    return;
  backend->dispatchEvents();
  if (tick && backend)
    tick();
}
