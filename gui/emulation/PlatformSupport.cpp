// Strings, timers, time, handles (threads, events, socket events, files), rectangles and
// memory blocks.
#include "gui/emulation/PlatformSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

#include "gui/emulation/HandleRecords.h"
#include "sdk/macos/runloop/RunLoop.h"

namespace {

using winemu::HandleHeader;

struct ThreadRecord {
  HandleHeader header;
  LPTHREAD_START_ROUTINE function;
  void* argument;
  pthread_t thread;
  std::atomic<bool> done;
  std::mutex joinLock;
  bool joined; // under joinLock; a joined thread is never joined or detached again
};

struct EventRecord {
  HandleHeader header;
  pthread_mutex_t mutex;
  pthread_cond_t condition;
  bool manualReset;
  bool signalled;
};

struct FileRecord {
  HandleHeader header;
  FILE* file;
};

struct SocketEventRecord {
  HandleHeader header;
  int sockets[2]; // read side, write side
};

HandleHeader* headerOf(HANDLE handle) {
  return static_cast<HandleHeader*>(handle);
}

uint32_t tagOf(HANDLE handle) {
  return handle ? headerOf(handle)->tag : 0;
}

bool isSocketEvent(HANDLE handle) {
  uint32_t tag = tagOf(handle);
  return tag == WINEMU_TAG_SOCKETEVENT || tag == WINEMU_TAG_SOCKETEVENT_VARIANT;
}

FILE* fileOf(HANDLE handle) {
  return tagOf(handle) == WINEMU_TAG_FILE ? static_cast<FileRecord*>(handle)->file : nullptr;
}

// Joins the thread unless that already happened, or detaches it when the thread itself drops
// the last reference (it cannot join itself).
void finishThread(ThreadRecord* t) {
  std::lock_guard<std::mutex> guard(t->joinLock);
  if (t->joined)
    return;
  if (pthread_equal(t->thread, pthread_self()))
    pthread_detach(t->thread);
  else
    pthread_join(t->thread, nullptr);
  t->joined = true;
}

void freeHandle(HANDLE handle) {
  switch (tagOf(handle)) {
  case WINEMU_TAG_THREAD: {
    auto* t = static_cast<ThreadRecord*>(handle);
    finishThread(t);
    delete t;
    break;
  }
  case WINEMU_TAG_EVENT: {
    auto* e = static_cast<EventRecord*>(handle);
    pthread_cond_destroy(&e->condition);
    pthread_mutex_destroy(&e->mutex);
    delete e;
    break;
  }
  case WINEMU_TAG_FILE: {
    auto* f = static_cast<FileRecord*>(handle);
    if (f->file)
      fclose(f->file);
    delete f;
    break;
  }
  case WINEMU_TAG_SOCKETEVENT:
  case WINEMU_TAG_SOCKETEVENT_VARIANT: {
    auto* s = static_cast<SocketEventRecord*>(handle);
    close(s->sockets[0]);
    close(s->sockets[1]);
    delete s;
    break;
  }
  case WINEMU_TAG_PROCESS:
    winemu::releaseProcess(static_cast<winemu::ProcessRecord*>(handle));
    break;
  default:
    break;
  }
}

timespec deadlineAfter(DWORD ms) {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  t.tv_sec += static_cast<time_t>(ms / 1000);
  t.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (t.tv_nsec >= 1000000000L) {
    t.tv_nsec -= 1000000000L;
    ++t.tv_sec;
  }
  return t;
}

int waitEvent(EventRecord* e, DWORD ms) {
  timespec deadline = deadlineAfter(ms);
  pthread_mutex_lock(&e->mutex);
  int rc = 0;
  while (!e->signalled && rc != ETIMEDOUT)
    rc = ms == INFINITE ? pthread_cond_wait(&e->condition, &e->mutex)
                        : pthread_cond_timedwait(&e->condition, &e->mutex, &deadline);
  bool signalled = e->signalled;
  if (signalled && !e->manualReset)
    e->signalled = false;
  pthread_mutex_unlock(&e->mutex);
  return signalled ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

int waitThread(ThreadRecord* t, DWORD ms) {
  uint64_t start = orvane::RunLoop::monotonicMs();
  while (!t->done.load()) {
    if (ms != INFINITE && orvane::RunLoop::monotonicMs() - start >= ms)
      return WAIT_TIMEOUT; // still running: never join (and block) past the time-out
    usleep(1000);
  }
  finishThread(t);
  return WAIT_OBJECT_0;
}

int pollSockets(const std::vector<pollfd>& fds, DWORD ms) {
  std::vector<pollfd> copy = fds;
  int timeout = ms == INFINITE ? -1 : ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
  int n;
  do
    n = poll(copy.data(), copy.size(), timeout);
  while (n < 0 && errno == EINTR);
  if (n < 0)
    return WAIT_FAILED;
  if (n == 0)
    return WAIT_TIMEOUT;
  for (size_t i = 0; i < copy.size(); ++i)
    if (copy[i].revents & POLLIN)
      return static_cast<int>(i);
  return WAIT_FAILED;
}

void* threadEntry(void* record) {
  auto* t = static_cast<ThreadRecord*>(record);
  t->function(t->argument);
  t->done.store(true);
  CloseHandle(t); // the thread's own reference
  return nullptr;
}

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

bool CloseHandle(HANDLE handle) {
  if (!handle)
    return false;
  if (headerOf(handle)->references.fetch_sub(1) == 1)
    freeHandle(handle);
  return true;
}

HANDLE CreateEvent(void*, bool manualReset, bool initialState) {
  auto* e = new EventRecord;
  e->header.tag = WINEMU_TAG_EVENT;
  e->header.references = 1;
  pthread_mutex_init(&e->mutex, nullptr);
  pthread_condattr_t attributes;
  pthread_condattr_init(&attributes);
  pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
  pthread_cond_init(&e->condition, &attributes);
  pthread_condattr_destroy(&attributes);
  e->manualReset = manualReset;
  e->signalled = initialState;
  return e;
}

bool SetEvent(HANDLE handle) {
  if (tagOf(handle) == WINEMU_TAG_EVENT) {
    auto* e = static_cast<EventRecord*>(handle);
    pthread_mutex_lock(&e->mutex);
    e->signalled = true;
    if (e->manualReset)
      pthread_cond_broadcast(&e->condition);
    else
      pthread_cond_signal(&e->condition);
    pthread_mutex_unlock(&e->mutex);
    return true;
  }
  if (isSocketEvent(handle)) {
    char byte = 1;
    return write(static_cast<SocketEventRecord*>(handle)->sockets[1], &byte, 1) == 1;
  }
  return false;
}

bool ResetEvent(HANDLE handle) {
  if (tagOf(handle) == WINEMU_TAG_EVENT) {
    auto* e = static_cast<EventRecord*>(handle);
    pthread_mutex_lock(&e->mutex);
    e->signalled = false;
    pthread_mutex_unlock(&e->mutex);
    return true;
  }
  if (isSocketEvent(handle)) {
    char drain[64];
    while (read(static_cast<SocketEventRecord*>(handle)->sockets[0], drain, sizeof drain) > 0) {
    }
    return true;
  }
  return false;
}

HANDLE CreateSocketEvent() {
  int sockets[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
    return nullptr;
  fcntl(sockets[0], F_SETFL, fcntl(sockets[0], F_GETFL) | O_NONBLOCK);
  auto* s = new SocketEventRecord;
  s->header.tag = WINEMU_TAG_SOCKETEVENT_VARIANT;
  s->header.references = 1;
  s->sockets[0] = sockets[0];
  s->sockets[1] = sockets[1];
  return s;
}

int WaitForSingleObject(HANDLE handle, DWORD ms) {
  switch (tagOf(handle)) {
  case WINEMU_TAG_THREAD:
    return waitThread(static_cast<ThreadRecord*>(handle), ms);
  case WINEMU_TAG_EVENT:
    return waitEvent(static_cast<EventRecord*>(handle), ms);
  case WINEMU_TAG_SOCKETEVENT:
  case WINEMU_TAG_SOCKETEVENT_VARIANT: {
    // poll rather than select: a descriptor past FD_SETSIZE must not overrun the set.
    int r =
        pollSockets({pollfd{static_cast<SocketEventRecord*>(handle)->sockets[0], POLLIN, 0}}, ms);
    return r == 0 ? WAIT_OBJECT_0 : r;
  }
  case WINEMU_TAG_PROCESS:
    return WaitForProcess(handle, ms);
  default:
    return WAIT_FAILED;
  }
}

int WaitForMultipleSocketEvents(int count, HANDLE* handles, DWORD ms) {
  if (count < 1 || !handles)
    return WAIT_FAILED;
  std::vector<pollfd> fds;
  for (int i = 0; i < count; ++i) {
    if (!isSocketEvent(handles[i]))
      return WAIT_FAILED;
    fds.push_back(pollfd{static_cast<SocketEventRecord*>(handles[i])->sockets[0], POLLIN, 0});
  }
  return pollSockets(fds, ms);
}

HANDLE CreateThread(void*, size_t, LPTHREAD_START_ROUTINE function, void* argument, DWORD,
                    DWORD* threadId) {
  if (!function)
    return nullptr;
  auto* t = new ThreadRecord;
  t->header.tag = WINEMU_TAG_THREAD;
  t->header.references = 2; // the caller's and the thread's own
  t->function = function;
  t->argument = argument;
  t->done = false;
  t->joined = false;
  if (pthread_create(&t->thread, nullptr, threadEntry, t) != 0) {
    delete t;
    return nullptr;
  }
  if (threadId)
    *threadId = static_cast<DWORD>(reinterpret_cast<uintptr_t>(t));
  return t;
}

bool SetThreadPriority(HANDLE thread, int priority) {
  if (tagOf(thread) != WINEMU_TAG_THREAD)
    return false;
  auto* t = static_cast<ThreadRecord*>(thread);
  int policy = 0;
  sched_param param{};
  if (pthread_getschedparam(t->thread, &policy, &param) != 0)
    return false;
  int low = sched_get_priority_min(policy), high = sched_get_priority_max(policy);
  // Windows priorities run from -2 (lowest) to 2 (highest) around 0 (normal).
  int clamped = priority < -2 ? -2 : priority > 2 ? 2 : priority;
  param.sched_priority = low + (high - low) * (clamped + 2) / 4;
  return pthread_setschedparam(t->thread, policy, &param) == 0;
}

uintptr_t GetCurrentThreadId() {
  return static_cast<uintptr_t>(pthread_self());
}

HANDLE OpenFileHandle(const char* path, const char* mode) {
  if (!path || !mode)
    return nullptr;
  FILE* file = fopen(path, mode);
  if (!file)
    return nullptr;
  auto* f = new FileRecord;
  f->header.tag = WINEMU_TAG_FILE;
  f->header.references = 1;
  f->file = file;
  return f;
}

DWORD SetFilePointer(HANDLE handle, long distance, long* high, int method) {
  FILE* file = fileOf(handle);
  if (!file || method < 0 || method > 2)
    return static_cast<DWORD>(-1);
  long long offset = high ? (static_cast<long long>(*high) << 32) |
                                static_cast<unsigned long>(static_cast<uint32_t>(distance))
                          : distance;
  int whence = method == 0 ? SEEK_SET : method == 1 ? SEEK_CUR : SEEK_END;
  if (fseeko(file, static_cast<off_t>(offset), whence) != 0)
    return static_cast<DWORD>(-1);
  long long at = ftello(file);
  if (high)
    *high = static_cast<long>(at >> 32);
  return static_cast<DWORD>(static_cast<uint32_t>(at));
}

long long GetFilePosition(HANDLE handle) {
  FILE* file = fileOf(handle);
  return file ? static_cast<long long>(ftello(file)) : -1;
}

DWORD GetFileSize(HANDLE handle, DWORD* high) {
  FILE* file = fileOf(handle);
  struct stat st;
  if (!file || fflush(file) != 0 || fstat(fileno(file), &st) != 0)
    return static_cast<DWORD>(-1);
  if (high)
    *high = static_cast<DWORD>(static_cast<uint64_t>(st.st_size) >> 32);
  return static_cast<DWORD>(static_cast<uint32_t>(st.st_size));
}

bool WriteFile(HANDLE handle, const void* data, DWORD count, DWORD* written, void*) {
  FILE* file = fileOf(handle);
  if (written)
    *written = 0;
  if (!file || (!data && count > 0))
    return false;
  size_t n = fwrite(data, 1, count, file);
  if (written)
    *written = static_cast<DWORD>(n);
  return n == count;
}

bool ReadFile(HANDLE handle, void* data, DWORD count, DWORD* read, void*) {
  FILE* file = fileOf(handle);
  if (read)
    *read = 0;
  if (!file || (!data && count > 0))
    return false;
  size_t n = fread(data, 1, count, file);
  if (read)
    *read = static_cast<DWORD>(n);
  return !ferror(file);
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
