// Loading shared libraries and bundles, counted in one process-wide cache.
#include "gui/emulation/PlatformSupport.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <cstring>
#include <mutex>
#include <string>
#include <vector>

struct WinemuModule {
  void* library;      // dlopen handle: the cache key
  CFBundleRef bundle; // for bundle folders, else null
  int references;
  int (*winemuMain)(HINSTANCE, DWORD, void*);
  int (*dllMain)(HINSTANCE, DWORD, void*);
};

namespace {

std::recursive_mutex& moduleLock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;
  return *lock;
}

// Sorted by dlopen handle, searched by halving.
std::vector<WinemuModule*>& moduleCache() {
  static std::vector<WinemuModule*>* cache = new std::vector<WinemuModule*>;
  return *cache;
}

size_t searchCache(void* library, bool& found) {
  std::vector<WinemuModule*>& cache = moduleCache();
  size_t lo = 0, hi = cache.size();
  found = false;
  while (lo < hi) {
    size_t mid = (lo + hi) / 2;
    if (cache[mid]->library < library) {
      lo = mid + 1;
    } else if (cache[mid]->library > library) {
      hi = mid;
    } else {
      found = true;
      return mid;
    }
  }
  return lo;
}

void* lookUp(const WinemuModule* module, const char* name) {
  if (module->bundle) {
    CFStringRef s = CFStringCreateWithCString(nullptr, name, kCFStringEncodingUTF8);
    void* p = CFBundleGetFunctionPointerForName(module->bundle, s);
    CFRelease(s);
    return p;
  }
  return dlsym(module->library, name);
}

// Drops one load's references: the bundle's (which holds its own code reference) or the
// library's.
void releaseLoad(void* library, CFBundleRef bundle) {
  if (bundle)
    CFRelease(bundle);
  else if (library)
    dlclose(library);
}

bool openBundle(const char* path, void*& library, CFBundleRef& bundle) {
  CFURLRef url = CFURLCreateFromFileSystemRepresentation(
      nullptr, reinterpret_cast<const UInt8*>(path), static_cast<CFIndex>(strlen(path)), true);
  bundle = CFBundleCreate(nullptr, url);
  CFRelease(url);
  if (!bundle || !CFBundleLoadExecutable(bundle)) {
    if (bundle)
      CFRelease(bundle);
    bundle = nullptr;
    return false;
  }
  CFURLRef executable = CFBundleCopyExecutableURL(bundle);
  char file[4096] = {};
  CFURLGetFileSystemRepresentation(executable, true, reinterpret_cast<UInt8*>(file), sizeof file);
  CFRelease(executable);
  // The handle of the code the bundle loaded identifies it in the cache.
  library = dlopen(file, RTLD_NOW | RTLD_NOLOAD);
  if (library)
    dlclose(library); // NOLOAD took a reference of its own
  return library != nullptr;
}

} // namespace

HINSTANCE LoadLibraryGlobals(const char* path, bool global) {
  if (!path || !*path)
    return nullptr;
  void* library = nullptr;
  CFBundleRef bundle = nullptr;
  struct stat st;
  if (stat(path, &st) != 0 || S_ISDIR(st.st_mode)) {
    if (!openBundle(path, library, bundle))
      return nullptr;
  } else {
    // The platform's own flags: resolve now, and keep the symbols to this module unless asked.
    library = dlopen(path, RTLD_NOW | (global ? RTLD_GLOBAL : RTLD_LOCAL));
    if (!library)
      return nullptr;
  }

  std::lock_guard<std::recursive_mutex> guard(moduleLock());
  bool found;
  size_t at = searchCache(library, found);
  if (found) {
    WinemuModule* cached = moduleCache()[at];
    ++cached->references;
    if (cached->bundle && bundle) {
      CFRetain(cached->bundle);
      CFRelease(bundle);
    }
    return cached;
  }
  auto* module = new WinemuModule{library, bundle, 1, nullptr, nullptr};
  moduleCache().insert(moduleCache().begin() + static_cast<ptrdiff_t>(at), module);
  module->winemuMain =
      reinterpret_cast<int (*)(HINSTANCE, DWORD, void*)>(lookUp(module, "WINEMU_dllMain"));
  if (module->winemuMain) {
    bool refused = !module->winemuMain(module, 1, nullptr);
    if (!refused) {
      module->dllMain =
          reinterpret_cast<int (*)(HINSTANCE, DWORD, void*)>(lookUp(module, "DllMain"));
      if (module->dllMain && !module->dllMain(module, 1, nullptr)) {
        module->winemuMain(module, 0, nullptr);
        refused = true;
      }
    }
    if (refused) {
      moduleCache().erase(moduleCache().begin() + static_cast<ptrdiff_t>(at));
      releaseLoad(library, bundle);
      delete module;
      return nullptr;
    }
  }
  return module;
}

HINSTANCE LoadLibrary(const char* path) {
  return LoadLibraryGlobals(path, false);
}

void* GetProcAddress(HINSTANCE module, const char* name) {
  if (!module || !name)
    return nullptr;
  return lookUp(module, name);
}

void FreeLibrary(HINSTANCE module) {
  if (!module)
    return;
  std::lock_guard<std::recursive_mutex> guard(moduleLock());
  bool found;
  size_t at = searchCache(module->library, found);
  if (!found || moduleCache()[at] != module)
    return; // not a loaded module
  void* library = module->library;
  CFBundleRef bundle = module->bundle;
  if (--module->references == 0) {
    moduleCache().erase(moduleCache().begin() + static_cast<ptrdiff_t>(at));
    if (module->winemuMain)
      module->winemuMain(module, 0, nullptr);
    if (module->dllMain)
      module->dllMain(module, 0, nullptr);
    delete module;
  }
  releaseLoad(library, bundle);
}

CFBundleRef GetModuleBundle(HINSTANCE module) {
  return module ? module->bundle : nullptr;
}

int GetModuleFileName(HINSTANCE module, char* buffer, int size) {
  if (!buffer || size < 1)
    return 0;
  std::string path;
  if (module && !module->bundle) {
    link_map* map = nullptr;
    if (dlinfo(module->library, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name)
      path = map->l_name;
  } else {
    CFBundleRef bundle = module ? module->bundle : CFBundleGetMainBundle();
    CFURLRef url = CFBundleCopyBundleURL(bundle);
    char folder[4096] = {};
    if (url && CFURLGetFileSystemRepresentation(url, true, reinterpret_cast<UInt8*>(folder),
                                                sizeof folder))
      path = folder;
    if (url)
      CFRelease(url);
  }
  lstrcpyn(buffer, path.c_str(), size);
  return static_cast<int>(strlen(buffer));
}
