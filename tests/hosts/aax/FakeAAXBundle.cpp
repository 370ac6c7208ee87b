#include "FakeAAXBundle.h"

#include <dlfcn.h>

namespace aaxhost {

namespace {
// The library inside a bundle folder: <dir>/Contents/x86_64-linux/<name>.so.
std::string LibraryPath(const std::string& bundleDir) {
  std::string dir = bundleDir;
  while (!dir.empty() && dir.back() == '/')
    dir.pop_back();
  std::string name = dir.substr(dir.find_last_of('/') + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos)
    name.erase(dot);
  return dir + "/Contents/x86_64-linux/" + name + ".so";
}

template <class Proc> bool Find(void* handle, const char* name, Proc& out, std::string& error) {
  out = reinterpret_cast<Proc>(dlsym(handle, name));
  if (!out)
    error = std::string("missing entry point ") + name;
  return out != nullptr;
}
} // namespace

std::unique_ptr<FakeAAXBundle> FakeAAXBundle::Load(const std::string& bundleDir,
                                                   std::string& error) {
  void* handle = dlopen(LibraryPath(bundleDir).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* reason = dlerror();
    error = reason ? reason : "dlopen failed";
    return nullptr;
  }
  std::unique_ptr<FakeAAXBundle> bundle(new FakeAAXBundle(handle));
  if (!Find(handle, "ACFRegisterPlugin", bundle->mRegisterPlugin, error) ||
      !Find(handle, "ACFRegisterComponent", bundle->mRegisterComponent, error) ||
      !Find(handle, "ACFGetClassFactory", bundle->mGetClassFactory, error) ||
      !Find(handle, "ACFCanUnloadNow", bundle->mCanUnloadNow, error) ||
      !Find(handle, "ACFStartup", bundle->mStartup, error) ||
      !Find(handle, "ACFShutdown", bundle->mShutdown, error) ||
      !Find(handle, "ACFGetSDKVersion", bundle->mGetSDKVersion, error))
    return nullptr;
  return bundle;
}

FakeAAXBundle::~FakeAAXBundle() {
  if (mHandle)
    dlclose(mHandle);
}

void* FakeAAXBundle::Symbol(const char* name) const {
  return dlsym(mHandle, name);
}

} // namespace aaxhost
