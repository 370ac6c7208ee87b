// The seven ACF entry points of the compressor bundle. Each runs the library's entry with a
// catch-all: no exception reaches the host (it becomes 0x8000FFFF).
#include "aax/adapter/AAXWrapper_Description.h"
#include "aax/library/AAX_ACFEntries.h"
#include "aax/library/AAX_CatchAll.h"

#define AAXWRAPPER_EXPORT extern "C" __attribute__((visibility("default")))

AAXWRAPPER_EXPORT ACFRESULT ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** registered) {
  return AAX_CatchAll(
      [&] { return AAX_ACFRegisterPlugin(host, registered, &AAXWrapper_DescribeEffects); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFRegisterComponent(IACFUnknown* host, acfUInt32 index,
                                                 IACFUnknown** component) {
  return AAX_CatchAll([&] { return AAX_ACFRegisterComponent(host, index, component); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFGetClassFactory(IACFUnknown* host, const acfCLSID& clsid,
                                               const acfIID& iid, void** factory) {
  return AAX_CatchAll([&] { return AAX_ACFGetClassFactory(host, clsid, iid, factory); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFCanUnloadNow(IACFUnknown* host) {
  return AAX_CatchAll([&] { return AAX_ACFCanUnloadNow(host); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFStartup(IACFUnknown* host) {
  return AAX_CatchAll([&] { return AAX_ACFStartup(host); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFShutdown(IACFUnknown* host) {
  return AAX_CatchAll([&] { return AAX_ACFShutdown(host); });
}

AAXWRAPPER_EXPORT ACFRESULT ACFGetSDKVersion(uint64_t* version) {
  return AAX_CatchAll([&] { return AAX_ACFGetSDKVersion(version); });
}
