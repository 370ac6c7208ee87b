// The host's description of one effect: names, categories, components and procedures.
#pragma once

#include "AAX.h"
#include "acfunknown.h"

class AAX_IACFEffectDescriptor : public IACFUnknown {
public:
  // componentDescriptor is a host component descriptor the plug-in filled.
  virtual AAX_Result AddComponent(IACFUnknown* componentDescriptor) = 0;
  virtual AAX_Result AddName(const char* name) = 0;
  virtual AAX_Result AddCategory(uint32_t category) = 0;
  // procPtr is a create procedure (AAX_CCreateProc) registered under procID.
  virtual AAX_Result AddProcPtr(void* procPtr, AAX_CProcPtrID procID) = 0;

protected:
  ~AAX_IACFEffectDescriptor() = default;
};

// Second version: a host that offers it takes descriptors of the later layout. The library
// queries it so that a plug-in may depend on it; it adds no operation this system calls.
class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor {
protected:
  ~AAX_IACFEffectDescriptor_V2() = default;
};
