#include "aax/library/AAX_ACFEntries.h"

#include "AAX_UIDs.h"
#include "aax/library/AAX_CatchAll.h"
#include "aax/library/AAX_VCollection.h"
#include "aax/library/AAX_VHostServices.h"
#include "aax/library/CACFUnknown.h"

#include <memory>

AAX_Result AAX_ACFRegisterPlugin(IACFUnknown* host, IACFUnknown** registered,
                                 AAX_DescribeEffectsProc describe) noexcept {
  return AAX_CatchAll([&]() -> AAX_Result {
    if (registered)
      *registered = nullptr;
    AAX_VCollection collection(host);
    const AAX_Result described = describe ? describe(collection) : AAX_ERROR_NULL_OBJECT;
    if (described != AAX_SUCCESS)
      return described;
    IACFUnknown* hostCollection = collection.HostInterface();
    if (!hostCollection || !registered)
      return AAX_ERROR_NULL_OBJECT;
    void* out = nullptr;
    if (hostCollection->QueryInterface(IID_RegisteredPluginObject, &out) != ACF_OK || !out)
      return AAX_ERROR_NULL_OBJECT;
    *registered = static_cast<IACFUnknown*>(out);
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_ACFRegisterComponent(IACFUnknown*, acfUInt32, IACFUnknown** component) noexcept {
  if (component)
    *component = nullptr;
  return AAX_SUCCESS;
}

AAX_Result AAX_ACFGetClassFactory(IACFUnknown*, const acfCLSID&, const acfIID&,
                                  void** factory) noexcept {
  // Objects are made only through the create procedures of the effect description.
  if (factory)
    *factory = nullptr;
  return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_ACFCanUnloadNow(IACFUnknown*) noexcept {
  return CACFUnknown::GetLiveObjectCount();
}

AAX_Result AAX_ACFStartup(IACFUnknown* host) noexcept {
  return AAX_CatchAll([&] {
    AAX_HostServices_SetSingleton(host);
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_ACFShutdown(IACFUnknown*) noexcept {
  return AAX_CatchAll([] {
    AAX_HostServices_SetSingleton(nullptr);
    return AAX_SUCCESS;
  });
}

AAX_Result AAX_ACFGetSDKVersion(uint64_t* version) noexcept {
  if (!version)
    return AAX_ERROR_NULL_OBJECT;
  *version = AAX_kSDKVersion;
  return AAX_SUCCESS;
}
