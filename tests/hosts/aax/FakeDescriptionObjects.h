// The host objects that record an effect description: the collection, effect and component
// descriptors and property maps, made by the host's component factory. Everything the plug-in
// describes stays readable after the plug-in has let go of it.
#pragma once

#include "AAX_IACFCollection.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IACFPropertyMap.h"
#include "FakeHostObject.h"
#include "FakeInstanceObjects.h"

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace aaxhost {

class FakePropertyMap final : public HostObject<AAX_IACFPropertyMap_V2> {
public:
  using HostObject::HostObject;
  AAX_Result AddProperty(AAX_CPropertyID id, AAX_CPropertyValue value) override;

  std::vector<std::pair<AAX_CPropertyID, AAX_CPropertyValue>> properties; // in order added

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeComponentDescriptor final : public HostObject<AAX_IACFComponentDescriptor_V2> {
public:
  struct ProcessProc {
    AAX_CProcessProc proc;
    FakePropertyMap* properties; // null when none was given
  };

  using HostObject::HostObject;
  AAX_Result AddAudioIn(AAX_CFieldIndex field) override;
  AAX_Result AddAudioOut(AAX_CFieldIndex field) override;
  AAX_Result AddAudioBufferLength(AAX_CFieldIndex field) override;
  AAX_Result AddSampleRate(AAX_CFieldIndex field) override;
  AAX_Result AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                              const char* name) override;
  AAX_Result AddPrivateData(AAX_CFieldIndex field, int32_t sizeBytes) override;
  AAX_Result AddMeters(AAX_CFieldIndex field, const AAX_CTypeID* meterIDs,
                       uint32_t meterCount) override;
  AAX_Result AddMIDINode(AAX_CFieldIndex field, int32_t nodeType, const char* name,
                         uint32_t channelMask) override;
  AAX_Result AddReservedField(AAX_CFieldIndex field, int32_t fieldType) override;
  AAX_Result AddProcessProc(AAX_CProcessProc proc, IACFUnknown* properties) override;

  // Each field as described, e.g. "AudioIn", "PrivateData 8", "MIDINode 3 Transport 65535".
  std::map<AAX_CFieldIndex, std::string> fields;
  std::vector<ProcessProc> processProcs;

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeEffectDescriptor final : public HostObject<AAX_IACFEffectDescriptor_V2> {
public:
  using HostObject::HostObject;
  AAX_Result AddComponent(IACFUnknown* component) override;
  AAX_Result AddName(const char* name) override;
  AAX_Result AddCategory(uint32_t category) override;
  AAX_Result AddProcPtr(void* procPtr, AAX_CProcPtrID procID) override;

  std::vector<std::string> names;
  std::vector<uint32_t> categories;
  std::map<AAX_CProcPtrID, void*> procs;
  std::vector<FakeComponentDescriptor*> components;

protected:
  void* Answer(const acfIID& iid) override;
};

class FakeCollection final : public HostObject<AAX_IACFCollection> {
public:
  using HostObject::HostObject;
  AAX_Result AddEffect(const char* effectID, IACFUnknown* descriptor) override;
  AAX_Result AddManufacturerName(const char* name) override;
  AAX_Result AddPackageName(const char* name) override;
  AAX_Result SetPackageVersion(uint32_t version) override;

  std::vector<std::pair<std::string, FakeEffectDescriptor*>> effects;
  std::vector<std::string> manufacturerNames;
  std::vector<std::string> packageNames;
  uint32_t packageVersion = 0;

protected:
  // The collection also serves as the registered plug-in object handed back at the end.
  void* Answer(const acfIID& iid) override;
};

// Makes the description objects and the host services. A class can be refused (the factory
// fails) to stand for a host that lacks it. Keeps every object it made.
class FakeComponentFactory final : public HostObject<IACFComponentFactory> {
public:
  using HostObject::HostObject;
  ACFRESULT CreateComponent(const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid,
                            void** out) override;

  void Refuse(const acfCLSID& clsid);
  // Every later object this factory makes withholds that interface (for example a second
  // version).
  void WithholdFromProducts(const acfIID& iid);

  const std::vector<FakeCollection*>& Collections() const { return mCollections; }
  const std::vector<FakeHostServices*>& Services() const { return mServices; }
  // All objects made so far, for reference checks.
  std::vector<const HostObjectBase*> Products() const;

protected:
  void* Answer(const acfIID& iid) override;

private:
  template <class Object> Object* Make();

  std::vector<std::unique_ptr<HostObjectBase>> mProducts;
  std::vector<FakeCollection*> mCollections;
  std::vector<FakeHostServices*> mServices;
  std::vector<acfCLSID> mRefused;
  std::vector<acfIID> mWithheldFromProducts;
};

} // namespace aaxhost
