#include "aax/library/AAX_HostRef.h"

#include "AAX_UIDs.h"

void* AAX_CreateHostObjectRaw(IACFUnknown* host, const acfCLSID& clsid, const acfIID& iid) {
  AAX_HostRef<IACFComponentFactory> factory =
      AAX_QueryHostInterface<IACFComponentFactory>(host, IID_ACFComponentFactory);
  if (!factory)
    return nullptr;
  void* out = nullptr;
  const ACFRESULT result = factory->CreateComponent(clsid, nullptr, iid, &out);
  factory.Reset();
  if (result != ACF_OK)
    return nullptr;
  if (!out)
    throw AAX_ERROR_MISSING_INTERFACE_THROWN;
  return out;
}
