// An AAX plug-in bundle as a host loads it: the shared library of a built .vst3 bundle folder
// (Contents/x86_64-linux/<name>.so), dlopened, with its seven ACF entry points.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

#include <memory>
#include <string>

namespace aaxhost {

class FakeAAXBundle {
public:
  using RegisterPluginProc = ACFRESULT (*)(IACFUnknown*, IACFUnknown**);
  using RegisterComponentProc = ACFRESULT (*)(IACFUnknown*, acfUInt32, IACFUnknown**);
  using GetClassFactoryProc = ACFRESULT (*)(IACFUnknown*, const acfCLSID&, const acfIID&, void**);
  using HostProc = ACFRESULT (*)(IACFUnknown*);
  using GetSDKVersionProc = ACFRESULT (*)(uint64_t*);

  // Null, with the reason in error, when the library does not load or lacks an entry point.
  static std::unique_ptr<FakeAAXBundle> Load(const std::string& bundleDir, std::string& error);
  ~FakeAAXBundle();
  FakeAAXBundle(const FakeAAXBundle&) = delete;
  FakeAAXBundle& operator=(const FakeAAXBundle&) = delete;

  ACFRESULT RegisterPlugin(IACFUnknown* host, IACFUnknown** registered) const {
    return mRegisterPlugin(host, registered);
  }
  ACFRESULT RegisterComponent(IACFUnknown* host, acfUInt32 index, IACFUnknown** out) const {
    return mRegisterComponent(host, index, out);
  }
  ACFRESULT GetClassFactory(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid,
                            void** out) const {
    return mGetClassFactory(host, clsid, iid, out);
  }
  ACFRESULT CanUnloadNow(IACFUnknown* host) const { return mCanUnloadNow(host); }
  ACFRESULT Startup(IACFUnknown* host) const { return mStartup(host); }
  ACFRESULT Shutdown(IACFUnknown* host) const { return mShutdown(host); }
  ACFRESULT GetSDKVersion(uint64_t* version) const { return mGetSDKVersion(version); }

  // Any symbol of the library (null when absent).
  void* Symbol(const char* name) const;

private:
  explicit FakeAAXBundle(void* handle) : mHandle(handle) {}

  void* mHandle;
  RegisterPluginProc mRegisterPlugin = nullptr;
  RegisterComponentProc mRegisterComponent = nullptr;
  GetClassFactoryProc mGetClassFactory = nullptr;
  HostProc mCanUnloadNow = nullptr;
  HostProc mStartup = nullptr;
  HostProc mShutdown = nullptr;
  GetSDKVersionProc mGetSDKVersion = nullptr;
};

} // namespace aaxhost
