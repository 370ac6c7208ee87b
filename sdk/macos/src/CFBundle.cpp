// URLs and bundles. A bundle folder "Name.ext" keeps its code in
// Contents/x86_64-linux/Name.so, as Linux VST 3 hosts expect; the main bundle is the folder
// that holds the running program, whose code is the program itself.
#include "CFObject.h"

#include <climits>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <unistd.h>

struct __CFBundle : CFObject {
  std::string folder;
  std::string executable;
  void* handle = nullptr; // dlopen handle while the code is loaded
  bool isMain = false;
  ~__CFBundle() override {
    if (handle && !isMain)
      dlclose(handle);
  }
};

CFURLRef CFURLCreateFromFileSystemRepresentation(CFAllocatorRef, const UInt8* path, CFIndex length,
                                                 Boolean isDirectory) {
  if (!path || length < 0)
    return nullptr;
  auto* url = new __CFURL;
  url->path.assign(reinterpret_cast<const char*>(path), static_cast<size_t>(length));
  while (isDirectory && url->path.size() > 1 && url->path.back() == '/')
    url->path.pop_back();
  return url;
}

CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef allocator, CFStringRef path, CFURLPathStyle,
                                       Boolean isDirectory) {
  if (!path)
    return nullptr;
  const std::string& text = cfstub::utf8Of(path);
  return CFURLCreateFromFileSystemRepresentation(allocator,
                                                 reinterpret_cast<const UInt8*>(text.data()),
                                                 static_cast<CFIndex>(text.size()), isDirectory);
}

Boolean CFURLGetFileSystemRepresentation(CFURLRef url, Boolean, UInt8* buffer, CFIndex size) {
  if (!url || !buffer || size < 1 || static_cast<CFIndex>(url->path.size()) + 1 > size)
    return false;
  memcpy(buffer, url->path.c_str(), url->path.size() + 1);
  return true;
}

static std::string stemOf(const std::string& folder) {
  size_t slash = folder.find_last_of('/');
  std::string name = slash == std::string::npos ? folder : folder.substr(slash + 1);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

CFBundleRef CFBundleCreate(CFAllocatorRef, CFURLRef url) {
  if (!url || url->path.empty())
    return nullptr;
  auto* bundle = new __CFBundle;
  bundle->folder = url->path;
  bundle->executable = bundle->folder + "/Contents/x86_64-linux/" + stemOf(bundle->folder) + ".so";
  return bundle;
}

CFBundleRef CFBundleGetMainBundle() {
  static __CFBundle* main = [] {
    char exe[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (n <= 0)
      return static_cast<__CFBundle*>(nullptr);
    auto* bundle = new __CFBundle;
    bundle->immortal = true;
    bundle->isMain = true;
    bundle->executable.assign(exe, static_cast<size_t>(n));
    size_t slash = bundle->executable.find_last_of('/');
    bundle->folder = slash == 0 ? "/" : bundle->executable.substr(0, slash);
    bundle->handle = dlopen(nullptr, RTLD_NOW);
    return bundle;
  }();
  return main;
}

CFURLRef CFBundleCopyBundleURL(CFBundleRef bundle) {
  if (!bundle)
    return nullptr;
  auto* url = new __CFURL;
  url->path = bundle->folder;
  return url;
}

CFURLRef CFBundleCopyExecutableURL(CFBundleRef bundle) {
  if (!bundle)
    return nullptr;
  auto* url = new __CFURL;
  url->path = bundle->executable;
  return url;
}

Boolean CFBundleLoadExecutable(CFBundleRef bundle) {
  if (!bundle)
    return false;
  if (!bundle->handle)
    bundle->handle = dlopen(bundle->executable.c_str(), RTLD_NOW | RTLD_LOCAL);
  return bundle->handle != nullptr;
}

Boolean CFBundleIsExecutableLoaded(CFBundleRef bundle) {
  return bundle && bundle->handle;
}

void CFBundleUnloadExecutable(CFBundleRef bundle) {
  if (!bundle || !bundle->handle || bundle->isMain)
    return;
  dlclose(bundle->handle);
  bundle->handle = nullptr;
}

void* CFBundleGetFunctionPointerForName(CFBundleRef bundle, CFStringRef name) {
  if (!bundle || !bundle->handle || !name)
    return nullptr;
  return dlsym(bundle->handle, cfstub::utf8Of(name).c_str());
}

// The folder of the bundle that holds this binary's code.
static std::string CodeBundleFolder() {
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void*>(&CodeBundleFolder), &info) || !info.dli_fname)
    return {};
  char resolved[PATH_MAX] = {};
  std::string code = realpath(info.dli_fname, resolved) ? resolved : info.dli_fname;
  if (code.find('/') == std::string::npos) // the program itself, named without a folder
    code = CFBundleGetMainBundle() ? CFBundleGetMainBundle()->executable : code;
  const size_t slash = code.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : code.substr(0, slash);
  // <bundle>/Contents/<architecture>/<name>.so
  const size_t arch = folder.find_last_of('/');
  if (arch != std::string::npos) {
    const std::string contents = folder.substr(0, arch);
    const std::string tail = "/Contents";
    if (contents.size() > tail.size() &&
        contents.compare(contents.size() - tail.size(), tail.size(), tail) == 0)
      return contents.substr(0, contents.size() - tail.size());
  }
  return folder;
}

CFBundleRef CFBundleGetBundleWithIdentifier(CFStringRef identifier) {
  if (!identifier || cfstub::utf8Of(identifier).empty())
    return nullptr;
  // Lives as long as the binary (not the heap), so that unloading a plug-in leaves nothing.
  static __CFBundle code;
  static const bool found = [] {
    code.immortal = true;
    code.folder = CodeBundleFolder();
    code.executable = code.folder + "/Contents/x86_64-linux/" + stemOf(code.folder) + ".so";
    return !code.folder.empty();
  }();
  return found ? &code : nullptr;
}

CFURLRef CFBundleCopyResourceURL(CFBundleRef bundle, CFStringRef name, CFStringRef type,
                                 CFStringRef subDir) {
  if (!bundle || !name)
    return nullptr;
  std::string path = bundle->folder + "/Contents/Resources/";
  if (subDir && !cfstub::utf8Of(subDir).empty())
    path += cfstub::utf8Of(subDir) + "/";
  path += cfstub::utf8Of(name);
  if (type && !cfstub::utf8Of(type).empty())
    path += "." + cfstub::utf8Of(type);
  if (access(path.c_str(), R_OK) != 0)
    return nullptr;
  auto* url = new __CFURL;
  url->path = path;
  return url;
}
