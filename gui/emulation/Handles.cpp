// Handles: threads, events, socket events and files, waiting on them and closing them.
#include "gui/emulation/PlatformSupport.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
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

} // namespace

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
