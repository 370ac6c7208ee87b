// The Windows-style system calls on POSIX: timers on the run loop, threads, events, socket
// events, files, modules, rectangles, memory blocks, strings and paths.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "AppKit/AppKit.h"
#include "gui/emulation/PlatformSupport.h"
#include "sdk/macos/runloop/RunLoop.h"

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST(FileTime, CountsHundredNanosecondsFrom1601) {
  std::string path = ::testing::TempDir() + "/orvane_filetime";
  std::ofstream(path) << "x";
  struct timespec times[2] = {{0, 0}, {1700000000, 0}}; // access at the epoch, write later
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  int fd = open(path.c_str(), O_RDONLY);
  FILETIME creation{}, access{}, write{};
  ASSERT_TRUE(GetFileTime(fd, &creation, &access, &write));
  auto value = [](FILETIME t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  // 1970-01-01 is 134774 days after 1601-01-01.
  EXPECT_EQ(value(access), 134774ull * 86400 * 10000000);
  EXPECT_EQ(value(write), 116444736000000000ull + 1700000000ull * 10000000);
  EXPECT_EQ(CompareFileTime(&access, &write), -1);
  EXPECT_EQ(CompareFileTime(&write, &access), 1);
  EXPECT_EQ(CompareFileTime(&write, &write), 0);
  close(fd);
  EXPECT_FALSE(GetFileTime(fd, &creation, &access, &write));
  unlink(path.c_str());
}

TEST(Timers, RunOnTheRunLoopAndCanBeReplacedAndKilled) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  orvane::ManualClock clock(1000);
  loop.setClock(clock.clock());
  static int fired[3];
  static HWND lastWindow;
  static unsigned lastMessage;
  memset(fired, 0, sizeof fired);
  TIMERPROC count = [](HWND window, unsigned message, uintptr_t id, DWORD) {
    ++fired[id];
    lastWindow = window;
    lastMessage = message;
  };
  NSObject windowA, windowB;
  EXPECT_EQ(SetTimer(&windowA, 1, 50, count), 1u);
  SetTimer(&windowA, 2, 20, count);
  SetTimer(&windowB, 1, 50, count);
  SetTimer(&windowA, 1, 100, count); // replaces A's timer 1
  size_t timers = loop.timerCount();
  clock.advance(50);
  loop.pump();
  EXPECT_EQ(fired[1], 1); // B's only
  EXPECT_EQ(fired[2], 1);
  EXPECT_EQ(lastMessage, WM_TIMER);
  clock.advance(50);
  loop.pump();
  EXPECT_EQ(fired[1], 3);
  KillTimer(&windowA, static_cast<uintptr_t>(-1));
  EXPECT_EQ(loop.timerCount(), timers - 2);
  clock.advance(100);
  loop.pump();
  EXPECT_EQ(fired[1], 4);
  EXPECT_EQ(lastWindow, &windowB);
  KillTimer(&windowB, 1);
  EXPECT_EQ(loop.timerCount(), timers - 3);
  loop.setClock({});
}

DWORD sleeper(void* ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(*static_cast<int*>(ms)));
  return 0;
}

TEST(Threads, WaitingNeverBlocksPastTheTimeOut) {
  int ms = 400;
  HANDLE thread = CreateThread(nullptr, 0, sleeper, &ms, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  auto start = Clock::now();
  EXPECT_EQ(WaitForSingleObject(thread, 30), WAIT_TIMEOUT);
  EXPECT_LT(msSince(start), 300);
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0); // joined once, still answers
  EXPECT_TRUE(CloseHandle(thread)); // a joined thread is neither joined nor detached again
}

TEST(Threads, ClosingBeforeTheEndLetsTheThreadFinishAlone) {
  static std::atomic<int> ran{0};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](void*) -> DWORD {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++ran;
        return 0;
      },
      nullptr, 0, nullptr);
  EXPECT_TRUE(CloseHandle(thread)); // the thread's own reference keeps the record
  for (int i = 0; i < 200 && ran.load() == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(ran.load(), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

TEST(Events, AutoResetWakesOnceManualStaysSignalled) {
  HANDLE autoReset = CreateEvent(nullptr, false, false);
  HANDLE manual = CreateEvent(nullptr, true, true);
  auto start = Clock::now();
  EXPECT_EQ(WaitForSingleObject(autoReset, 20), WAIT_TIMEOUT);
  EXPECT_GE(msSince(start), 19);
  SetEvent(autoReset);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoReset, 0), WAIT_TIMEOUT); // cleared by the wait
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_OBJECT_0);
  ResetEvent(manual);
  EXPECT_EQ(WaitForSingleObject(manual, 0), WAIT_TIMEOUT);
  std::thread setter([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    SetEvent(autoReset);
  });
  EXPECT_EQ(WaitForSingleObject(autoReset, 5000), WAIT_OBJECT_0);
  setter.join();
  CloseHandle(autoReset);
  CloseHandle(manual);
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
}

TEST(Events, AManualEventWakesEveryWaiter) {
  HANDLE manual = CreateEvent(nullptr, true, false);
  std::atomic<int> woken{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 3; ++i)
    waiters.emplace_back([&] {
      if (WaitForSingleObject(manual, 5000) == WAIT_OBJECT_0)
        ++woken;
    });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  SetEvent(manual);
  for (std::thread& t : waiters)
    t.join();
  EXPECT_EQ(woken.load(), 3);
  CloseHandle(manual);
}

TEST(SocketEvents, SignalThroughTheSocketPair) {
  HANDLE a = CreateSocketEvent(), b = CreateSocketEvent();
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(*static_cast<uint32_t*>(a), WINEMU_TAG_SOCKETEVENT_VARIANT);
  EXPECT_EQ(WaitForSingleObject(a, 0), WAIT_TIMEOUT);
  SetEvent(b);
  SetEvent(b);
  HANDLE both[2] = {a, b};
  EXPECT_EQ(WaitForMultipleSocketEvents(2, both, 100), 1);
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_OBJECT_0);
  ResetEvent(b); // drains both bytes
  EXPECT_EQ(WaitForSingleObject(b, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForMultipleSocketEvents(2, both, 10), WAIT_TIMEOUT);
  CloseHandle(a);
  CloseHandle(b);
}

TEST(Files, ReadWriteSeekAndSize) {
  std::string path = ::testing::TempDir() + "/orvane_handle_file";
  HANDLE file = OpenFileHandle(path.c_str(), "w+b");
  ASSERT_NE(file, nullptr);
  DWORD done = 0;
  EXPECT_TRUE(WriteFile(file, "0123456789", 10, &done, nullptr));
  EXPECT_EQ(done, 10u);
  EXPECT_EQ(GetFileSize(file, nullptr), 10u);
  EXPECT_EQ(GetFilePosition(file), 10);
  EXPECT_EQ(SetFilePointer(file, 3, nullptr, 0), 3u);
  char buffer[8] = {};
  EXPECT_TRUE(ReadFile(file, buffer, 4, &done, nullptr));
  EXPECT_EQ(done, 4u);
  EXPECT_STREQ(buffer, "3456");
  EXPECT_EQ(SetFilePointer(file, -2, nullptr, 2), 8u);
  CloseHandle(file);
  HANDLE event = CreateEvent(nullptr, false, false);
  EXPECT_EQ(GetFilePosition(event), -1); // not a file
  EXPECT_EQ(SetFilePointer(event, 0, nullptr, 0), static_cast<DWORD>(-1));
  EXPECT_FALSE(WriteFile(event, "x", 1, &done, nullptr));
  EXPECT_FALSE(ReadFile(nullptr, buffer, 1, &done, nullptr));
  EXPECT_EQ(GetFileSize(nullptr, nullptr), static_cast<DWORD>(-1));
  CloseHandle(event);
  unlink(path.c_str());
}

TEST(Rects, ArithmeticAsATable) {
  struct Case {
    RECT a, b;
    bool intersects;
    RECT intersection, unionRect;
  };
  const Case cases[] = {
      {{0, 0, 10, 10}, {5, 5, 15, 15}, true, {5, 5, 10, 10}, {0, 0, 15, 15}},
      {{0, 0, 10, 10}, {10, 0, 20, 10}, false, {0, 0, 0, 0}, {0, 0, 20, 10}},
      {{0, 0, 0, 10}, {0, 0, 5, 5}, false, {0, 0, 0, 0}, {0, 0, 5, 10}},
      {{-5, -5, 5, 5}, {-2, -8, 2, 8}, true, {-2, -5, 2, 5}, {-5, -8, 5, 8}},
  };
  for (const Case& c : cases) {
    RECT out{1, 1, 1, 1};
    EXPECT_EQ(IntersectRect(&out, &c.a, &c.b), c.intersects);
    EXPECT_EQ(memcmp(&out, &c.intersection, sizeof out), 0);
    UnionRect(&out, &c.a, &c.b);
    EXPECT_EQ(memcmp(&out, &c.unionRect, sizeof out), 0);
  }
  RECT r;
  SetRect(&r, 1, 2, 3, 4);
  OffsetRect(&r, 10, -2);
  EXPECT_EQ(r.left, 11);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 13);
  EXPECT_EQ(r.bottom, 2);
  RECT upsideDown{0, 10, 10, 0};
  EXPECT_TRUE(PtInRect(&upsideDown, POINT{5, 5}));
  EXPECT_TRUE(PtInRect(&upsideDown, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&upsideDown, POINT{10, 5}));
  EXPECT_FALSE(PtInRect(&upsideDown, POINT{5, 10}));
}

TEST(Arithmetic, MulDiv) {
  struct Case {
    int a, b, c, result;
  };
  const Case cases[] = {{10, 3, 2, 15},
                        {7, 1, 0, 0},
                        {1 << 30, 4, 8, 1 << 29},
                        {-9, 2, 4, -4},
                        {0x7FFFFFFF, 2, 1, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Memory, GlobalBlocksKnowTheirSize) {
  HANDLE block = GlobalAlloc(0, 100);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalSize(block), 100u);
  memset(GlobalLock(block), 0xAB, 100);
  GlobalUnlock(block);
  GlobalFree(block);
  EXPECT_EQ(GlobalAlloc(0, SIZE_MAX - 4), nullptr);
}

TEST(Strings, CopiesAreCutAndTerminated) {
  char buffer[6];
  lstrcpyn(buffer, "abcdefgh", 4);
  EXPECT_STREQ(buffer, "abc");
  lstrcpyn(buffer, "ab", 6);
  EXPECT_STREQ(buffer, "ab");
  CFStringRef s = CStringToCFString("caf\xc3\xa9 cr\xc3\xa8me");
  NSStringToCString(s, buffer, sizeof buffer); // cut to 5 bytes, not inside a character
  EXPECT_STREQ(buffer, "caf\xc3\xa9");
  char small[5];
  NSStringToCString(s, small, sizeof small);
  EXPECT_STREQ(small, "caf");
  CFRelease(s);
  CFStringRef empty = CStringToCFString(nullptr);
  EXPECT_EQ(CFStringGetLength(empty), 0);
  CFRelease(empty);
}

TEST(Paths, TempPathFollowsTmpdir) {
  const char* saved = getenv("TMPDIR");
  std::string keep = saved ? saved : "";
  char buffer[64];
  setenv("TMPDIR", "/var/tmp/orvane/", 1);
  EXPECT_EQ(GetTempPath(sizeof buffer, buffer), 16);
  EXPECT_STREQ(buffer, "/var/tmp/orvane/");
  EXPECT_EQ(GetTempPath(5, buffer), 4);
  setenv("TMPDIR", "", 1);
  GetTempPath(sizeof buffer, buffer);
  EXPECT_STREQ(buffer, "/tmp/");
  if (saved)
    setenv("TMPDIR", keep.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

TEST(Guids, AreRandomVersionFour) {
  uint8_t a[16], b[16];
  CoCreateGuid(a);
  CoCreateGuid(b);
  EXPECT_NE(memcmp(a, b, 16), 0);
  EXPECT_EQ(a[6] >> 4, 4);
}

class Modules : public ::testing::Test {
protected:
  static int calls(HINSTANCE module, int which) {
    auto f = reinterpret_cast<int (*)(int)>(GetProcAddress(module, "orvaneTestModuleCalls"));
    return f ? f(which) : -1;
  }
  std::string module = ORVANE_TEST_MODULE;
  std::string plain = ORVANE_PLAIN_MODULE;
};

TEST_F(Modules, LoadsLocallyCountsAndCallsTheEntries) {
  HINSTANCE m = LoadLibrary(module.c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(calls(m, 0), 1); // attached once
  EXPECT_EQ(calls(m, 2), 1); // DllMain after WINEMU_dllMain
  // RTLD_LOCAL: the module's symbols stay out of the global scope.
  EXPECT_EQ(dlsym(RTLD_DEFAULT, "orvaneTestModuleCalls"), nullptr);
  HINSTANCE again = LoadLibrary(module.c_str());
  EXPECT_EQ(again, m); // the cache counts it
  EXPECT_EQ(calls(m, 0), 1);
  char path[4096];
  EXPECT_GT(GetModuleFileName(m, path, sizeof path), 0);
  EXPECT_NE(std::string(path).find("orvane_winemu_testmodule"), std::string::npos) << path;
  FreeLibrary(again);
  EXPECT_EQ(calls(m, 1), 0);
  FreeLibrary(m); // the last reference detaches
}

TEST_F(Modules, GlobalFlagExportsTheSymbols) {
  HINSTANCE m = LoadLibraryGlobals(plain.c_str(), true);
  ASSERT_NE(m, nullptr); // DllMain (which aborts) is not called without WINEMU_dllMain
  EXPECT_NE(dlsym(RTLD_DEFAULT, "orvanePlainModuleSymbol"), nullptr);
  auto f = reinterpret_cast<int (*)()>(GetProcAddress(m, "orvanePlainModuleSymbol"));
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f(), 42);
  FreeLibrary(m);
}

TEST_F(Modules, RefusedEntriesUnloadTheModule) {
  setenv("ORVANE_TESTMODULE_REFUSE", "1", 1);
  EXPECT_EQ(LoadLibrary(module.c_str()), nullptr);
  unsetenv("ORVANE_TESTMODULE_REFUSE");
  setenv("ORVANE_TESTMODULE_REFUSE_DLLMAIN", "1", 1);
  EXPECT_EQ(LoadLibrary(module.c_str()), nullptr);
  unsetenv("ORVANE_TESTMODULE_REFUSE_DLLMAIN");
  EXPECT_EQ(LoadLibrary("/nonexistent/module.so"), nullptr);
  EXPECT_EQ(LoadLibrary(nullptr), nullptr);
  FreeLibrary(nullptr);
}

TEST_F(Modules, BundleFoldersLoadTheirCode) {
  std::string bundle = ::testing::TempDir() + "/OrvaneTest.vst3";
  std::string code = bundle + "/Contents/x86_64-linux";
  mkdir(bundle.c_str(), 0700);
  mkdir((bundle + "/Contents").c_str(), 0700);
  mkdir(code.c_str(), 0700);
  {
    std::ifstream in(module, std::ios::binary);
    std::ofstream out(code + "/OrvaneTest.so", std::ios::binary);
    out << in.rdbuf();
  }
  HINSTANCE m = LoadLibrary(bundle.c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_NE(GetModuleBundle(m), nullptr);
  EXPECT_EQ(calls(m, 0), 1);
  char path[4096];
  GetModuleFileName(m, path, sizeof path);
  EXPECT_EQ(std::string(path), bundle);
  EXPECT_EQ(LoadLibrary(bundle.c_str()), m);
  FreeLibrary(m);
  FreeLibrary(m);
  unlink((code + "/OrvaneTest.so").c_str());
  rmdir(code.c_str());
  rmdir((bundle + "/Contents").c_str());
  rmdir(bundle.c_str());
}

// A window that takes its own timers and posted messages.
class TestWindow : public NSObject, public WinemuTimerTarget, public WinemuPostableWindow {
public:
  void WINEMU_Timer(uintptr_t id) override { timers.push_back(id); }
  bool winemuCanPostMessage() override { return accepts; }
  void winemuPostedMessage(unsigned message, WPARAM wParam, LPARAM) override {
    messages.emplace_back(message, wParam);
  }
  bool accepts = true;
  std::vector<uintptr_t> timers;
  std::vector<std::pair<unsigned, WPARAM>> messages;
};

class TestDelegate : public NSObject,
                     public WinemuPostMessageReceiver,
                     public WinemuPostMessageTickReceiver {
public:
  bool winemuPostMessage(HWND window, unsigned message, WPARAM, LPARAM) override {
    posted.emplace_back(window, message);
    return true;
  }
  void winemuPostMessageTick() override {
    ++ticks;
    FlushPostedMessages();
  }
  std::vector<std::pair<HWND, unsigned>> posted;
  int ticks = 0;
};

TEST(Timers, AWindowThatAnswersGetsItsTimersItself) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  orvane::ManualClock clock(0);
  loop.setClock(clock.clock());
  TestWindow window;
  EXPECT_EQ(SetTimer(&window, 7, 10, nullptr), 7u);
  clock.advance(10);
  loop.pump();
  clock.advance(10);
  loop.pump();
  EXPECT_EQ(window.timers, (std::vector<uintptr_t>{7, 7}));
  KillTimer(&window, 7);
  NSObject plain;
  EXPECT_EQ(SetTimer(&plain, 1, 10, nullptr), 0u); // neither a callback nor a target
  loop.setClock({});
}

TEST(Messages, PostThroughTheDelegateAndTheQueue) {
  NSApplication* app = NSApplication::sharedApplication();
  TestWindow window, refusing;
  refusing.accepts = false;
  EXPECT_FALSE(PostMessage(&window, 1000, 1, 2)); // no delegate answers
  TestDelegate delegate;
  app->setDelegate(&delegate);
  EXPECT_TRUE(PostMessage(&window, 1000, 1, 2));
  ASSERT_EQ(delegate.posted.size(), 1u);
  EXPECT_EQ(delegate.posted[0].second, 1000u);
  ClearPostedMessages(&window); // the delegate does not answer this one: nothing happens

  EXPECT_TRUE(QueuePostMessage(&window, 2000, 5, 0));
  EXPECT_FALSE(QueuePostMessage(&refusing, 2000, 5, 0));
  EXPECT_TRUE(QueueTimerMessage(&window, 9, 0, nullptr));
  EXPECT_TRUE(QueueTimerMessage(&window, 9, 0, nullptr)); // replaces the first
  TestWindow other;
  QueuePostMessage(&other, 3000, 0, 0);
  RemovePostedMessages(&other);

  orvane::RunLoop& loop = orvane::RunLoop::instance();
  orvane::ManualClock clock(0);
  loop.setClock(clock.clock());
  StartPostedMessageTimer();
  StartPostedMessageTimer(); // one timer only
  clock.advance(50);
  loop.pump();
  EXPECT_EQ(delegate.ticks, 1);
  using Message = std::pair<unsigned, WPARAM>;
  EXPECT_EQ(window.messages, (std::vector<Message>{{2000, 5}, {WM_TIMER, 9}}));
  EXPECT_TRUE(other.messages.empty());
  StopPostedMessageTimer();
  clock.advance(100);
  loop.pump();
  EXPECT_EQ(delegate.ticks, 1);
  loop.setClock({});
  app->setDelegate(nullptr);
}

TEST(Application, QuitRecordsTheRequest) {
  EXPECT_FALSE(IsQuitting());
  QuitApplication();
  EXPECT_TRUE(IsQuitting());
  EXPECT_TRUE(NSApplication::sharedApplication()->terminateRequested());
  EXPECT_EQ(GetOSVersion(), 0x10A0);
  DisableAppNap(true);
  EXPECT_TRUE(IsAppNapDisabled());
  DisableAppNap(false);
  EXPECT_FALSE(IsAppNapDisabled());
  void* pool = NewAutoreleasePool();
  EXPECT_NE(pool, nullptr);
  ReleaseAutoreleasePool(pool);
}

TEST(Processes, StartWaitAndTimeOut) {
  const char* quick[] = {"-c", "exit 0"};
  HANDLE done = CreateProcess("/bin/sh", 2, quick);
  ASSERT_NE(done, nullptr);
  EXPECT_EQ(*static_cast<uint32_t*>(done), WINEMU_TAG_PROCESS);
  EXPECT_EQ(WaitForProcess(done, 5000), WAIT_OBJECT_0);
  CloseHandle(done);
  const char* slow[] = {"-c", "sleep 0.3"};
  HANDLE running = CreateProcess("/bin/sh", 2, slow);
  BringProcessToFront(running);
  auto start = Clock::now();
  EXPECT_EQ(WaitForSingleObject(running, 20), WAIT_TIMEOUT);
  EXPECT_LT(msSince(start), 250);
  EXPECT_EQ(WaitForSingleObject(running, INFINITE), WAIT_OBJECT_0);
  CloseHandle(running);
  EXPECT_EQ(CreateProcess("/nonexistent/program", 0, nullptr), nullptr);
}

TEST(Events, PumpEventsRunsDueTimers) {
  orvane::RunLoop& loop = orvane::RunLoop::instance();
  orvane::ManualClock clock(0);
  loop.setClock(clock.clock());
  static int fired = 0;
  NSObject window;
  SetTimer(&window, 1, 5, [](HWND, unsigned, uintptr_t, DWORD) { ++fired; });
  clock.advance(5);
  PumpEvents();
  EXPECT_EQ(fired, 1);
  KillTimer(&window, 1);
  loop.setClock({});
}

TEST(Misc, StubsAndFlags) {
  EXPECT_EQ(WinemuStubZero(), 0);
  EXPECT_EQ(WinemuStubZero2(), 0);
  SetInteractive(true);
  EXPECT_TRUE(IsInteractive());
  SetInteractive(false);
  EXPECT_FALSE(IsInteractive());
  DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(GetTickCount() - before, 19u);
  EXPECT_NE(GetCurrentThreadId(), 0u);
}

} // namespace
