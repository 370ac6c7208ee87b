// Windows-style system calls on POSIX and the stand-ins: timers on the process-wide run loop,
// threads, events, socket events, file handles, rectangles, memory blocks, module loading,
// paths and strings. Handles are heap records whose first 32-bit word is a type tag.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "CoreFoundation/CoreFoundation.h"
#include "Foundation/Foundation.h"
#include "gui/emulation/WinemuTypes.h"

typedef void* HANDLE;
typedef NSObject* HWND; // a view or window
typedef struct WinemuModule* HINSTANCE;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef unsigned long DWORD;

struct FILETIME {
  uint32_t dwLowDateTime;
  uint32_t dwHighDateTime;
};

enum : uint32_t {
  WINEMU_TAG_THREAD = 0x1000002,
  WINEMU_TAG_EVENT = 0x1000003,
  WINEMU_TAG_FILE = 0x1000004,
  WINEMU_TAG_SOCKETEVENT = 0x1000005,
  WINEMU_TAG_SOCKETEVENT_VARIANT = 0x1000006,
  WINEMU_TAG_PROCESS = 0x1000007,
};

enum : int { WAIT_OBJECT_0 = 0, WAIT_TIMEOUT = 258, WAIT_FAILED = -1 };
enum : DWORD { INFINITE = 0xFFFFFFFF };
enum : unsigned { WM_TIMER = 275 };

// 100-nanosecond intervals between 1601-01-01 and 1970-01-01.
constexpr uint64_t WINEMU_FILETIME_UNIX_EPOCH = 116444736000000000ull;

// Selectors a window or the application delegate may answer (see NSObject).
class WinemuTimerTarget { // WINEMU_Timer:
public:
  virtual void WINEMU_Timer(uintptr_t timerId) = 0;

protected:
  ~WinemuTimerTarget() = default;
};
class WinemuPostMessageReceiver { // winemuPostMessage:msg:wp:lp:
public:
  virtual bool winemuPostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam) = 0;

protected:
  ~WinemuPostMessageReceiver() = default;
};
class WinemuPostMessageClearReceiver { // winemuPostMessageClearQ:
public:
  virtual void winemuPostMessageClearQ(HWND window) = 0;

protected:
  ~WinemuPostMessageClearReceiver() = default;
};
class WinemuPostMessageTickReceiver { // winemuPostMessageTick:
public:
  virtual void winemuPostMessageTick() = 0;

protected:
  ~WinemuPostMessageTickReceiver() = default;
};
// A window that takes queued messages (winemuCanPostMessage) and receives them.
class WinemuPostableWindow {
public:
  virtual bool winemuCanPostMessage() = 0;
  virtual void winemuPostedMessage(unsigned message, WPARAM wParam, LPARAM lParam) = 0;

protected:
  ~WinemuPostableWindow() = default;
};

// Strings.
CFStringRef CStringToCFString(const char* text);
void NSStringToCString(CFStringRef string, char* buffer, int size);
void lstrcpyn(char* dest, const char* src, int n);

// Timers on the process-wide run loop; the callback gets (window, WM_TIMER, id, tick count).
typedef void (*TIMERPROC)(HWND window, unsigned message, uintptr_t id, DWORD time);
uintptr_t SetTimer(HWND window, uintptr_t id, unsigned ms, TIMERPROC callback);
void KillTimer(HWND window, uintptr_t id); // id -1 removes all of the window's timers
void RunLoopFor(int ms);
void RunLoopForWithPool(int ms);
// Runs every run-loop timer that is due now.
void PumpEvents();

// Message posting. PostMessage and ClearPostedMessages forward to the application delegate
// when it answers; false when it does not.
bool PostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
void ClearPostedMessages(HWND window);
// The post queue's own entries: only a window that answers winemuCanPostMessage with true
// takes them. A queued timer message replaces one already queued for the same window and id.
bool QueuePostMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
void RemovePostedMessages(HWND window);
bool QueueTimerMessage(HWND window, uintptr_t id, unsigned ms, TIMERPROC callback);
// Delivers the queued entries to their windows, oldest first (the delegate's tick calls it).
void FlushPostedMessages();
// A repeating 50 ms run-loop timer that sends winemuPostMessageTick: to the delegate.
void StartPostedMessageTimer();
void StopPostedMessageTimer();

// The application.
void QuitApplication();
bool IsQuitting();
void DisableAppNap(bool disable);
bool IsAppNapDisabled();
int GetOSVersion();
void* NewAutoreleasePool();
void ReleaseAutoreleasePool(void* pool);

// Processes: the handle's tag is WINEMU_TAG_PROCESS; WaitForSingleObject waits on it too.
HANDLE CreateProcess(const char* path, int argc, const char* const* argv);
int WaitForProcess(HANDLE process, DWORD ms);
void BringProcessToFront(HANDLE process);

// Time.
void Sleep(int ms);
DWORD GetTickCount();
bool GetFileTime(int fd, FILETIME* creation, FILETIME* access, FILETIME* write);
int CompareFileTime(const FILETIME* a, const FILETIME* b);

// Handles.
bool CloseHandle(HANDLE handle);
HANDLE CreateEvent(void* attributes, bool manualReset, bool initialState);
bool SetEvent(HANDLE handle);
bool ResetEvent(HANDLE handle);
HANDLE CreateSocketEvent();
int WaitForSingleObject(HANDLE handle, DWORD ms);
int WaitForMultipleSocketEvents(int count, HANDLE* handles, DWORD ms);
typedef DWORD (*LPTHREAD_START_ROUTINE)(void* argument);
HANDLE CreateThread(void* attributes, size_t stackSize, LPTHREAD_START_ROUTINE function,
                    void* argument, DWORD flags, DWORD* threadId);
bool SetThreadPriority(HANDLE thread, int priority);
uintptr_t GetCurrentThreadId();

// File handles over stdio streams. OpenFileHandle takes fopen's mode.
HANDLE OpenFileHandle(const char* path, const char* mode);
DWORD SetFilePointer(HANDLE file, long distance, long* high, int method);
long long GetFilePosition(HANDLE file);
DWORD GetFileSize(HANDLE file, DWORD* high);
bool WriteFile(HANDLE file, const void* data, DWORD count, DWORD* written, void* overlapped);
bool ReadFile(HANDLE file, void* data, DWORD count, DWORD* read, void* overlapped);

// Rectangles and arithmetic.
bool PtInRect(const RECT* rect, POINT point);
int MulDiv(int a, int b, int c);
void OffsetRect(RECT* rect, int dx, int dy);
void SetRect(RECT* rect, int left, int top, int right, int bottom);
bool IntersectRect(RECT* out, const RECT* a, const RECT* b);
bool UnionRect(RECT* out, const RECT* a, const RECT* b);

// Memory blocks with their size in front.
HANDLE GlobalAlloc(int flags, size_t size);
void* GlobalLock(HANDLE block);
size_t GlobalSize(HANDLE block);
void GlobalUnlock(HANDLE block);
void GlobalFree(HANDLE block);

// Modules: shared libraries (dlopen) and bundle folders (CFBundle), counted in one cache.
HINSTANCE LoadLibrary(const char* path);
HINSTANCE LoadLibraryGlobals(const char* path, bool global);
void* GetProcAddress(HINSTANCE module, const char* name);
void FreeLibrary(HINSTANCE module);
CFBundleRef GetModuleBundle(HINSTANCE module);
int GetModuleFileName(HINSTANCE module, char* buffer, int size);

// Paths and identifiers.
void CoCreateGuid(void* out16);
int GetTempPath(int size, char* buffer);

int WinemuStubZero();
int WinemuStubZero2();
bool IsInteractive();
void SetInteractive(bool interactive);
