// The module's load and unload entry points, called directly as a host's loader calls them.
#include "tests/hosts/vst3/Module.h"
#include "tests/passthrough/PassthroughFixture.h"

#include <dlfcn.h>

namespace orvane::passthrough {
namespace {

using EntryProc = bool (*)(void*);
using ExitProc = bool (*)();

class ModuleEntryTest : public ::testing::Test {
protected:
  void SetUp() override {
    handle = dlopen(testhost::Module::libraryPathOf(kBundle).c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    moduleEntry = reinterpret_cast<EntryProc>(dlsym(handle, "ModuleEntry"));
    moduleExit = reinterpret_cast<ExitProc>(dlsym(handle, "ModuleExit"));
    bundleEntry = reinterpret_cast<EntryProc>(dlsym(handle, "bundleEntry"));
    bundleExit = reinterpret_cast<ExitProc>(dlsym(handle, "bundleExit"));
    ASSERT_TRUE(moduleEntry && moduleExit && bundleEntry && bundleExit);
  }
  void TearDown() override {
    if (handle)
      dlclose(handle);
  }

  void* handle = nullptr;
  EntryProc moduleEntry = nullptr;
  ExitProc moduleExit = nullptr;
  EntryProc bundleEntry = nullptr;
  ExitProc bundleExit = nullptr;
};

TEST_F(ModuleEntryTest, EntriesAndExitsAreCountedAcrossBothPairs) {
  // Nothing entered yet: an exit has nothing to match.
  EXPECT_FALSE(moduleExit());
  EXPECT_FALSE(bundleExit());

  EXPECT_TRUE(moduleEntry(handle));
  EXPECT_TRUE(moduleEntry(handle));
  EXPECT_TRUE(bundleEntry(nullptr));
  EXPECT_TRUE(bundleExit());
  EXPECT_TRUE(moduleExit());
  EXPECT_TRUE(moduleExit());
  EXPECT_FALSE(moduleExit());
}

TEST_F(ModuleEntryTest, ExportsNoFrameworkSymbols) {
  // Our own classes and helpers stay inside the bundle.
  EXPECT_EQ(dlsym(handle, "_ZN6orvane7RunLoop8instanceEv"), nullptr);
  EXPECT_EQ(dlsym(handle, "_ZN9Steinberg14gPluginFactoryE"), nullptr);
  EXPECT_NE(dlsym(handle, "GetPluginFactory"), nullptr);
}

} // namespace
} // namespace orvane::passthrough
