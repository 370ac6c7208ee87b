#include "FakeDescriptionObjects.h"

#include <algorithm>

namespace aaxhost {

namespace {
const char* Text(const char* text) {
  return text ? text : "(null)";
}

// The fake object behind an interface the plug-in passes back, when it is one of ours.
template <class Fake> Fake* AsFake(IACFUnknown* object) {
  return dynamic_cast<Fake*>(object);
}
} // namespace

// --- property map ------------------------------------------------------------------------

void* FakePropertyMap::Answer(const acfIID& iid) {
  if (iid == IID_PropertyMap)
    return static_cast<AAX_IACFPropertyMap*>(this);
  if (iid == IID_PropertyMap_V2)
    return static_cast<AAX_IACFPropertyMap_V2*>(this);
  return nullptr;
}

AAX_Result FakePropertyMap::AddProperty(AAX_CPropertyID id, AAX_CPropertyValue value) {
  Log().Record("PropertyMap.AddProperty(%d, %d)", id, value);
  properties.emplace_back(id, value);
  return AAX_SUCCESS;
}

// --- component descriptor ----------------------------------------------------------------

void* FakeComponentDescriptor::Answer(const acfIID& iid) {
  if (iid == IID_ComponentDescriptor)
    return static_cast<AAX_IACFComponentDescriptor*>(this);
  if (iid == IID_ComponentDescriptor_V2)
    return static_cast<AAX_IACFComponentDescriptor_V2*>(this);
  return nullptr;
}

AAX_Result FakeComponentDescriptor::AddAudioIn(AAX_CFieldIndex field) {
  Log().Record("Component.AddAudioIn(%d)", field);
  fields[field] = "AudioIn";
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddAudioOut(AAX_CFieldIndex field) {
  Log().Record("Component.AddAudioOut(%d)", field);
  fields[field] = "AudioOut";
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddAudioBufferLength(AAX_CFieldIndex field) {
  Log().Record("Component.AddAudioBufferLength(%d)", field);
  fields[field] = "AudioBufferLength";
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddSampleRate(AAX_CFieldIndex field) {
  Log().Record("Component.AddSampleRate(%d)", field);
  fields[field] = "SampleRate";
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddAuxOutputStem(AAX_CFieldIndex field, uint32_t stemFormat,
                                                     const char* name) {
  Log().Record("Component.AddAuxOutputStem(%d, %08x, %s)", field, stemFormat, Text(name));
  fields[field] = "AuxOutputStem " + std::string(Text(name));
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddPrivateData(AAX_CFieldIndex field, int32_t sizeBytes) {
  Log().Record("Component.AddPrivateData(%d, %d)", field, sizeBytes);
  fields[field] = "PrivateData " + std::to_string(sizeBytes);
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddMeters(AAX_CFieldIndex field, const AAX_CTypeID*,
                                              uint32_t meterCount) {
  Log().Record("Component.AddMeters(%d, %u)", field, meterCount);
  fields[field] = "Meters " + std::to_string(meterCount);
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddMIDINode(AAX_CFieldIndex field, int32_t nodeType,
                                                const char* name, uint32_t channelMask) {
  Log().Record("Component.AddMIDINode(%d, %d, %s, %u)", field, nodeType, Text(name), channelMask);
  fields[field] =
      "MIDINode " + std::to_string(nodeType) + " " + Text(name) + " " + std::to_string(channelMask);
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddReservedField(AAX_CFieldIndex field, int32_t fieldType) {
  Log().Record("Component.AddReservedField(%d, %d)", field, fieldType);
  fields[field] = "Reserved " + std::to_string(fieldType);
  return AAX_SUCCESS;
}

AAX_Result FakeComponentDescriptor::AddProcessProc(AAX_CProcessProc proc, IACFUnknown* properties) {
  Log().Record("Component.AddProcessProc(%s)", properties ? "properties" : "none");
  processProcs.push_back({proc, AsFake<FakePropertyMap>(properties)});
  return AAX_SUCCESS;
}

// --- effect descriptor -------------------------------------------------------------------

void* FakeEffectDescriptor::Answer(const acfIID& iid) {
  if (iid == IID_EffectDescriptor)
    return static_cast<AAX_IACFEffectDescriptor*>(this);
  if (iid == IID_EffectDescriptor_V2)
    return static_cast<AAX_IACFEffectDescriptor_V2*>(this);
  return nullptr;
}

AAX_Result FakeEffectDescriptor::AddComponent(IACFUnknown* component) {
  Log().Record("Effect.AddComponent");
  FakeComponentDescriptor* fake = AsFake<FakeComponentDescriptor>(component);
  if (!fake)
    return AAX_ERROR_NULL_OBJECT;
  components.push_back(fake);
  return AAX_SUCCESS;
}

AAX_Result FakeEffectDescriptor::AddName(const char* name) {
  Log().Record("Effect.AddName(%s)", Text(name));
  names.emplace_back(Text(name));
  return AAX_SUCCESS;
}

AAX_Result FakeEffectDescriptor::AddCategory(uint32_t category) {
  Log().Record("Effect.AddCategory(%u)", category);
  categories.push_back(category);
  return AAX_SUCCESS;
}

AAX_Result FakeEffectDescriptor::AddProcPtr(void* procPtr, AAX_CProcPtrID procID) {
  Log().Record("Effect.AddProcPtr(%d)", procID);
  procs[procID] = procPtr;
  return AAX_SUCCESS;
}

// --- collection --------------------------------------------------------------------------

void* FakeCollection::Answer(const acfIID& iid) {
  if (iid == IID_Collection || iid == IID_RegisteredPluginObject)
    return static_cast<AAX_IACFCollection*>(this);
  return nullptr;
}

AAX_Result FakeCollection::AddEffect(const char* effectID, IACFUnknown* descriptor) {
  Log().Record("Collection.AddEffect(%s)", Text(effectID));
  FakeEffectDescriptor* fake = AsFake<FakeEffectDescriptor>(descriptor);
  if (!fake)
    return AAX_ERROR_NULL_OBJECT;
  effects.emplace_back(Text(effectID), fake);
  return AAX_SUCCESS;
}

AAX_Result FakeCollection::AddManufacturerName(const char* name) {
  Log().Record("Collection.AddManufacturerName(%s)", Text(name));
  manufacturerNames.emplace_back(Text(name));
  return AAX_SUCCESS;
}

AAX_Result FakeCollection::AddPackageName(const char* name) {
  Log().Record("Collection.AddPackageName(%s)", Text(name));
  packageNames.emplace_back(Text(name));
  return AAX_SUCCESS;
}

AAX_Result FakeCollection::SetPackageVersion(uint32_t version) {
  Log().Record("Collection.SetPackageVersion(%08x)", version);
  packageVersion = version;
  return AAX_SUCCESS;
}

// --- factory -----------------------------------------------------------------------------

void* FakeComponentFactory::Answer(const acfIID& iid) {
  return iid == IID_ACFComponentFactory ? static_cast<IACFComponentFactory*>(this) : nullptr;
}

void FakeComponentFactory::Refuse(const acfCLSID& clsid) {
  mRefused.push_back(clsid);
}

void FakeComponentFactory::WithholdFromProducts(const acfIID& iid) {
  mWithheldFromProducts.push_back(iid);
}

std::vector<const HostObjectBase*> FakeComponentFactory::Products() const {
  std::vector<const HostObjectBase*> products;
  for (const auto& product : mProducts)
    products.push_back(product.get());
  return products;
}

template <class Object> Object* FakeComponentFactory::Make() {
  auto object = std::make_unique<Object>(Log());
  for (const acfIID& iid : mWithheldFromProducts)
    object->Withhold(iid);
  Object* made = object.get();
  mProducts.push_back(std::move(object));
  return made;
}

ACFRESULT FakeComponentFactory::CreateComponent(const acfCLSID& clsid, IACFUnknown* outer,
                                                const acfIID& iid, void** out) {
  if (!out)
    return ACF_E_POINTER;
  *out = nullptr;
  if (outer)
    return ACF_E_NOINTERFACE; // the fake objects do not aggregate
  if (std::find(mRefused.begin(), mRefused.end(), clsid) != mRefused.end())
    return AAX_ERROR_NULL_OBJECT;
  IACFUnknown* object = nullptr;
  const char* name = "?";
  if (clsid == CLSID_Collection) {
    FakeCollection* collection = Make<FakeCollection>();
    mCollections.push_back(collection);
    object = collection;
    name = "Collection";
  } else if (clsid == CLSID_EffectDescriptor) {
    object = Make<FakeEffectDescriptor>();
    name = "EffectDescriptor";
  } else if (clsid == CLSID_ComponentDescriptor) {
    object = Make<FakeComponentDescriptor>();
    name = "ComponentDescriptor";
  } else if (clsid == CLSID_PropertyMap) {
    object = Make<FakePropertyMap>();
    name = "PropertyMap";
  } else if (clsid == CLSID_HostServices) {
    FakeHostServices* services = Make<FakeHostServices>();
    mServices.push_back(services);
    object = services;
    name = "HostServices";
  } else {
    return ACF_E_NOINTERFACE;
  }
  Log().Record("Factory.CreateComponent(%s)", name);
  return object->QueryInterface(iid, out);
}

} // namespace aaxhost
