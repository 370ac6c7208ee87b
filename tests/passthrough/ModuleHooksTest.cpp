// The module entry points in process, with hooks that count their calls: every entry and exit
// reaches the plug-in's hooks, and an unmatched exit does not.
#include "public.sdk/source/main/moduleentry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <unistd.h>

namespace {
int gInits = 0;
int gDeinits = 0;
} // namespace

bool InitModule() {
  ++gInits;
  return true;
}

bool DeinitModule() {
  ++gDeinits;
  return true;
}

namespace {

std::string ownFolder() {
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  std::string exe(path, n > 0 ? static_cast<size_t>(n) : 0);
  return exe.substr(0, exe.find_last_of('/'));
}

TEST(ModuleHooks, RunOnEveryEntryAndExit) {
  gInits = gDeinits = 0;
  int handle = 0;
  EXPECT_TRUE(ModuleEntry(&handle));
  EXPECT_TRUE(bundleEntry(nullptr));
  EXPECT_EQ(gInits, 2);
  EXPECT_EQ(Steinberg::moduleEntryCount(), 2);
  EXPECT_EQ(Steinberg::moduleHandle(), &handle);

  EXPECT_TRUE(bundleExit());
  EXPECT_TRUE(ModuleExit());
  EXPECT_EQ(gDeinits, 2);
  EXPECT_EQ(Steinberg::moduleEntryCount(), 0);
  EXPECT_EQ(Steinberg::moduleHandle(), nullptr);

  EXPECT_FALSE(ModuleExit());
  EXPECT_EQ(gDeinits, 2);
}

TEST(ModuleHooks, BundlePathIsKnownWhileEntered) {
  EXPECT_EQ(Steinberg::moduleBundlePath(), "");
  ASSERT_TRUE(ModuleEntry(nullptr));
  // Not inside a .vst3 bundle: the folder of the file that holds the code.
  EXPECT_EQ(Steinberg::moduleBundlePath(), ownFolder());
  ASSERT_TRUE(ModuleExit());
  EXPECT_EQ(Steinberg::moduleBundlePath(), "");
}

} // namespace
