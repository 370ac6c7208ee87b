// Strings, timers, time, rectangles, memory blocks and paths.
#include "gui/emulation/PlatformSupport.h"

#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

#include "sdk/macos/runloop/RunLoop.h"

namespace {

// Timers.
struct WindowTimer {
  HWND window;
  uintptr_t id;
  orvane::RunLoop::TimerId timer;
};

std::recursive_mutex& timerLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

std::vector<WindowTimer>& windowTimers() {
  static std::vector<WindowTimer>* timers = new std::vector<WindowTimer>;
  return *timers;
}

uint64_t toFileTime(time_t seconds) {
  return static_cast<uint64_t>(seconds) * 10000000ull + WINEMU_FILETIME_UNIX_EPOCH;
}

void storeFileTime(FILETIME* out, uint64_t value) {
  if (!out)
    return;
  out->dwLowDateTime = static_cast<uint32_t>(value);
  out->dwHighDateTime = static_cast<uint32_t>(value >> 32);
}

bool isEmpty(const RECT* r) {
  return r->right <= r->left || r->bottom <= r->top;
}

bool interactive = false;

} // namespace

CFStringRef CStringToCFString(const char* text) {
  if (!text)
    text = "";
  CFStringRef s = CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
  return s ? s : CFStringCreateWithCString(nullptr, text, kCFStringEncodingASCII);
}

void NSStringToCString(CFStringRef string, char* buffer, int size) {
  if (!buffer || size < 1)
    return;
  buffer[0] = 0;
  if (!string)
    return;
  if (CFStringGetCString(string, buffer, size, kCFStringEncodingUTF8))
    return;
  // Too long: a copy cut to size - 1 bytes at a character boundary.
  CFIndex bytes =
      CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8) + 1;
  std::vector<char> whole(static_cast<size_t>(bytes));
  if (!CFStringGetCString(string, whole.data(), bytes, kCFStringEncodingUTF8)) {
    CFStringGetCString(string, buffer, size, kCFStringEncodingASCII);
    return;
  }
  int length = size - 1;
  while (length > 0 && (static_cast<unsigned char>(whole[length]) & 0xC0) == 0x80)
    --length;
  memcpy(buffer, whole.data(), static_cast<size_t>(length));
  buffer[length] = 0;
}

void lstrcpyn(char* dest, const char* src, int n) {
  if (!dest || n < 1)
    return;
  int i = 0;
  for (; src && i < n - 1 && src[i]; ++i)
    dest[i] = src[i];
  dest[i] = 0;
}

uintptr_t SetTimer(HWND window, uintptr_t id, unsigned ms, TIMERPROC callback) {
  if (!callback && !dynamic_cast<WinemuTimerTarget*>(window))
    return 0;
  std::lock_guard<std::recursive_mutex> guard(timerLock());
  KillTimer(window, id);
  // A window that answers WINEMU_Timer: gets the timer itself.
  auto* target = dynamic_cast<WinemuTimerTarget*>(window);
  orvane::RunLoop::TimerId timer =
      orvane::RunLoop::instance().addTimer(ms, [window, id, callback, target] {
        if (target)
          target->WINEMU_Timer(id);
        else
          callback(window, WM_TIMER, id, GetTickCount());
      });
  windowTimers().push_back(WindowTimer{window, id, timer});
  return id;
}

void KillTimer(HWND window, uintptr_t id) {
  std::lock_guard<std::recursive_mutex> guard(timerLock());
  std::vector<WindowTimer>& timers = windowTimers();
  for (size_t i = timers.size(); i-- > 0;) {
    if (timers[i].window == window && (id == static_cast<uintptr_t>(-1) || timers[i].id == id)) {
      orvane::RunLoop::instance().removeTimer(timers[i].timer);
      timers.erase(timers.begin() + static_cast<ptrdiff_t>(i));
    }
  }
}

void RunLoopFor(int ms) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  uint64_t end = orvane::RunLoop::monotonicMs() + static_cast<uint64_t>(ms < 0 ? 0 : ms);
  for (;;) {
    loop.pump();
    if (orvane::RunLoop::monotonicMs() >= end)
      break;
    usleep(1000);
  }
}

// There are no autorelease pools here; the pooled form is the same run.
void RunLoopForWithPool(int ms) {
  RunLoopFor(ms);
}

void PumpEvents() {
  orvane::RunLoop::instance().pump();
}

void Sleep(int ms) {
  usleep(ms > 0 ? static_cast<useconds_t>(ms) * 1000 : 100);
}

DWORD GetTickCount() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  return static_cast<DWORD>(static_cast<uint64_t>(tv.tv_sec) * 1000 +
                            static_cast<uint64_t>(tv.tv_usec) / 1000);
}

bool GetFileTime(int fd, FILETIME* creation, FILETIME* access, FILETIME* write) {
  struct stat st;
  if (fstat(fd, &st) != 0)
    return false;
  storeFileTime(creation, toFileTime(st.st_ctime));
  storeFileTime(access, toFileTime(st.st_atime));
  storeFileTime(write, toFileTime(st.st_mtime));
  return true;
}

int CompareFileTime(const FILETIME* a, const FILETIME* b) {
  uint64_t x = (uint64_t(a->dwHighDateTime) << 32) | a->dwLowDateTime;
  uint64_t y = (uint64_t(b->dwHighDateTime) << 32) | b->dwLowDateTime;
  return x < y ? -1 : x > y ? 1 : 0;
}
bool PtInRect(const RECT* rect, POINT point) {
  if (!rect)
    return false;
  int top = rect->top < rect->bottom ? rect->top : rect->bottom;
  int bottom = rect->top < rect->bottom ? rect->bottom : rect->top;
  return point.x >= rect->left && point.x < rect->right && point.y >= top && point.y < bottom;
}

int MulDiv(int a, int b, int c) {
  if (c == 0)
    return 0;
  double r = static_cast<double>(a) * b / c;
  // A result that does not fit an int is reported as -1, as on the platform.
  if (!(r > static_cast<double>(INT_MIN) - 1.0 && r < static_cast<double>(INT_MAX) + 1.0))
    return -1;
  return static_cast<int>(r);
}

void OffsetRect(RECT* rect, int dx, int dy) {
  if (!rect)
    return;
  rect->left += dx, rect->right += dx;
  rect->top += dy, rect->bottom += dy;
}

void SetRect(RECT* rect, int left, int top, int right, int bottom) {
  if (rect)
    *rect = RECT{left, top, right, bottom};
}

bool IntersectRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out || !a || !b)
    return false;
  RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
         a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
  if (isEmpty(a) || isEmpty(b) || isEmpty(&r)) {
    *out = RECT{0, 0, 0, 0};
    return false;
  }
  *out = r;
  return true;
}

bool UnionRect(RECT* out, const RECT* a, const RECT* b) {
  if (!out || !a || !b)
    return false;
  *out = RECT{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
              a->right > b->right ? a->right : b->right,
              a->bottom > b->bottom ? a->bottom : b->bottom};
  return !isEmpty(out);
}

HANDLE GlobalAlloc(int, size_t size) {
  if (size > SIZE_MAX - 8)
    return nullptr;
  auto* block = static_cast<size_t*>(malloc(size + 8));
  if (!block)
    return nullptr;
  *block = size;
  return block;
}

void* GlobalLock(HANDLE block) {
  return block ? static_cast<char*>(block) + 8 : nullptr;
}
size_t GlobalSize(HANDLE block) {
  return block ? *static_cast<size_t*>(block) : 0;
}
void GlobalUnlock(HANDLE) {}
void GlobalFree(HANDLE block) {
  free(block);
}

void CoCreateGuid(void* out16) {
  if (!out16)
    return;
  CFUUIDRef uuid = CFUUIDCreate(nullptr);
  CFUUIDBytes bytes = CFUUIDGetUUIDBytes(uuid);
  memcpy(out16, &bytes, 16);
  CFRelease(uuid);
}

int GetTempPath(int size, char* buffer) {
  if (!buffer || size < 1)
    return 0;
  const char* dir = getenv("TMPDIR");
  if (!dir || !*dir)
    dir = "/tmp/";
  lstrcpyn(buffer, dir, size);
  return static_cast<int>(strlen(buffer));
}

int WinemuStubZero() {
  return 0;
}
int WinemuStubZero2() {
  return 0;
}
bool IsInteractive() {
  return interactive;
}
void SetInteractive(bool flag) {
  interactive = flag;
}
