// Message posting through the application delegate and the post queue, and the application
// calls.
#include "gui/emulation/PlatformSupport.h"

#include <mutex>
#include <vector>

#include "AppKit/AppKit.h"
#include "CoreServices/CoreServices.h"
#include "sdk/macos/runloop/RunLoop.h"

namespace {

struct PostedMessage {
  HWND window;
  unsigned message;
  WPARAM wParam;
  LPARAM lParam;
};

std::recursive_mutex& queueLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

std::vector<PostedMessage>& queue() {
  static std::vector<PostedMessage>* entries = new std::vector<PostedMessage>;
  return *entries;
}

orvane::RunLoop::TimerId tickTimer = orvane::RunLoop::kNoTimer;
bool quitting = false;
bool appNapDisabled = false;

template <class Responder> Responder* delegateAnswering() {
  return dynamic_cast<Responder*>(NSApplication::sharedApplication()->delegate());
}

bool takesPostedMessages(HWND window) {
  auto* postable = dynamic_cast<WinemuPostableWindow*>(window);
  return postable && postable->winemuCanPostMessage();
}

} // namespace

bool PostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
  auto* receiver = delegateAnswering<WinemuPostMessageReceiver>();
  return receiver && receiver->winemuPostMessage(window, message, wParam, lParam);
}

void ClearPostedMessages(HWND window) {
  if (auto* receiver = delegateAnswering<WinemuPostMessageClearReceiver>())
    receiver->winemuPostMessageClearQ(window);
}

bool QueuePostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) {
  if (!takesPostedMessages(window))
    return false;
  std::lock_guard<std::recursive_mutex> guard(queueLock());
  queue().push_back(PostedMessage{window, message, wParam, lParam});
  return true;
}

void RemovePostedMessages(HWND window) {
  std::lock_guard<std::recursive_mutex> guard(queueLock());
  std::erase_if(queue(), [window](const PostedMessage& m) { return m.window == window; });
}

bool QueueTimerMessage(HWND window, uintptr_t id, unsigned, TIMERPROC callback) {
  if (!takesPostedMessages(window))
    return false;
  std::lock_guard<std::recursive_mutex> guard(queueLock());
  std::erase_if(queue(), [window, id](const PostedMessage& m) {
    return m.window == window && m.message == WM_TIMER && m.wParam == id;
  });
  queue().push_back(PostedMessage{window, WM_TIMER, id,
                                  static_cast<LPARAM>(reinterpret_cast<intptr_t>(callback))});
  return true;
}

void FlushPostedMessages() {
  std::vector<PostedMessage> due;
  {
    std::lock_guard<std::recursive_mutex> guard(queueLock());
    due.swap(queue());
  }
  // A window may post again, or remove its messages, while it handles one.
  for (size_t i = 0; i < due.size(); ++i) {
    auto* window = dynamic_cast<WinemuPostableWindow*>(due[i].window);
    if (window)
      window->winemuPostedMessage(due[i].message, due[i].wParam, due[i].lParam);
  }
}

void StartPostedMessageTimer() {
  std::lock_guard<std::recursive_mutex> guard(queueLock());
  if (tickTimer != orvane::RunLoop::kNoTimer)
    return;
  tickTimer = orvane::RunLoop::instance().addTimer(50, [] {
    if (auto* receiver = delegateAnswering<WinemuPostMessageTickReceiver>())
      receiver->winemuPostMessageTick();
  });
}

void StopPostedMessageTimer() {
  std::lock_guard<std::recursive_mutex> guard(queueLock());
  orvane::RunLoop::instance().removeTimer(tickTimer);
  tickTimer = orvane::RunLoop::kNoTimer;
}

void QuitApplication() {
  quitting = true;
  NSApplication::sharedApplication()->terminate(nullptr);
}

bool IsQuitting() {
  return quitting;
}

// App Nap does not exist here; the held activity is only recorded.
void DisableAppNap(bool disable) {
  appNapDisabled = disable;
}
bool IsAppNapDisabled() {
  return appNapDisabled;
}

int GetOSVersion() {
  static int version = [] {
    SInt32 v = 0;
    return Gestalt(gestaltSystemVersion, &v) == noErr ? static_cast<int>(v) : 0;
  }();
  return version;
}

// There are no autorelease pools in C++: a pool is a token that release accepts.
void* NewAutoreleasePool() {
  static char token;
  return &token;
}

void ReleaseAutoreleasePool(void*) {}
