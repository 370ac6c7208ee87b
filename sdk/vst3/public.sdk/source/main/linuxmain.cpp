#include "public.sdk/source/main/moduleentry.h"

#include <dlfcn.h>

#include <mutex>

namespace {

struct ModuleState {
  std::mutex mutex;
  int entries = 0;
  void* handle = nullptr;
  std::string bundlePath;
};

ModuleState& state() {
  static ModuleState s;
  return s;
}

std::string parentOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string leafOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The module file is found from an address inside it, whatever path the host used.
std::string findBundlePath() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&findBundlePath), &info) || !info.dli_fname)
    return {};
  const std::string archFolder = parentOf(info.dli_fname);
  const std::string contents = parentOf(archFolder);
  if (leafOf(contents) == "Contents")
    return parentOf(contents);
  return archFolder;
}

bool enter(void* handle) {
  ModuleState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (++s.entries == 1)
    s.bundlePath = findBundlePath();
  if (handle && !s.handle)
    s.handle = handle;
  return InitModule();
}

bool leave() {
  ModuleState& s = state();
  std::lock_guard<std::mutex> lock(s.mutex);
  if (s.entries == 0)
    return false;
  const bool result = DeinitModule();
  if (--s.entries == 0) {
    s.handle = nullptr;
    s.bundlePath.clear();
  }
  return result;
}

} // namespace

extern "C" {

SMTG_EXPORT_SYMBOL bool ModuleEntry(void* sharedLibraryHandle) {
  return enter(sharedLibraryHandle);
}

SMTG_EXPORT_SYMBOL bool ModuleExit() {
  return leave();
}

SMTG_EXPORT_SYMBOL bool bundleEntry(void* bundleRef) {
  (void)bundleRef;
  return enter(nullptr);
}

SMTG_EXPORT_SYMBOL bool bundleExit() {
  return leave();
}

} // extern "C"

namespace Steinberg {

int moduleEntryCount() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().entries;
}

void* moduleHandle() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().handle;
}

std::string moduleBundlePath() {
  std::lock_guard<std::mutex> lock(state().mutex);
  return state().bundlePath;
}

} // namespace Steinberg
