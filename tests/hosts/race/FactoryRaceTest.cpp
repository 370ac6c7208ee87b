// Hosts scan and instantiate plug-ins from several threads, so the first calls of a freshly
// loaded module's GetPluginFactory can come at once: every caller must get the one factory,
// and (under ThreadSanitizer) making it must be free of races.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <thread>
#include <vector>

#include "pluginterfaces/base/ipluginbase.h"

namespace {

using GetFactoryProc = Steinberg::IPluginFactory* (*)();
using ModuleEntryProc = bool (*)(void*);
using ModuleExitProc = bool (*)();

struct ShippedLibrary {
  const char* name;
  const char* path;
};

// Test names and failure messages show the plug-in, not the record's bytes.
void PrintTo(const ShippedLibrary& library, std::ostream* os) {
  *os << library.name;
}

const ShippedLibrary kLibraries[] = {{"OrvaneEQ", ORVANE_EQ_LIBRARY},
                                     {"OrvaneCompressor", ORVANE_COMPRESSOR_LIBRARY}};

class FactoryRace : public ::testing::TestWithParam<ShippedLibrary> {};

TEST_P(FactoryRace, FirstCallsAtOnceShareOneFactory) {
  void* handle = dlopen(GetParam().path, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  auto entry = reinterpret_cast<ModuleEntryProc>(dlsym(handle, "ModuleEntry"));
  auto exit = reinterpret_cast<ModuleExitProc>(dlsym(handle, "ModuleExit"));
  auto getFactory = reinterpret_cast<GetFactoryProc>(dlsym(handle, "GetPluginFactory"));
  ASSERT_TRUE(entry && exit && getFactory);
  ASSERT_TRUE(entry(handle));

  constexpr int kThreads = 8;
  std::vector<Steinberg::IPluginFactory*> factories(kThreads, nullptr);
  std::atomic<int> ready{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      // Every thread waits for all the others, so the calls start together.
      ready.fetch_add(1);
      while (ready.load() < kThreads) {
      }
      factories[i] = getFactory();
    });
  }
  for (std::thread& t : threads)
    t.join();

  ASSERT_NE(factories[0], nullptr);
  for (int i = 1; i < kThreads; ++i)
    EXPECT_EQ(factories[i], factories[0]) << "call " << i << " got a factory of its own";
  for (Steinberg::IPluginFactory* factory : factories)
    if (factory)
      factory->release();
  EXPECT_TRUE(exit());
  dlclose(handle);
}

INSTANTIATE_TEST_SUITE_P(Shipped, FactoryRace, ::testing::ValuesIn(kLibraries),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
