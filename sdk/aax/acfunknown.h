// The root interface of the ACF object model: every object that crosses between an AAX host
// and a plug-in answers these three operations, in this slot order.
#pragma once

#include "acfbasetypes.h"

class IACFUnknown {
public:
  virtual ACFRESULT QueryInterface(const acfIID& iid, void** out) = 0;
  virtual acfUInt32 AddRef() = 0;
  virtual acfUInt32 Release() = 0;

protected:
  ~IACFUnknown() = default;
};

// The host's object factory: makes host objects (collections, descriptors, property maps, host
// services) by class identifier and answers the interface asked for.
class IACFComponentFactory : public IACFUnknown {
public:
  virtual ACFRESULT CreateComponent(const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid,
                                    void** out) = 0;

protected:
  ~IACFComponentFactory() = default;
};
