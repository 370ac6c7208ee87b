// The plug-in side's class factory: the factory information and one record per class, each
// with the function that creates its objects. A module keeps one factory, made by its
// GetPluginFactory on the first call and freed when the host releases the last reference.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <vector>

namespace Steinberg {

// Makes one object and returns it with one reference for the caller; `context` is the value
// given at registration.
using FUnknownCreateFunction = FUnknown* (*)(void* context);

class CPluginFactory : public IPluginFactory3 {
public:
  explicit CPluginFactory(const PFactoryInfo& info);
  virtual ~CPluginFactory();

  CPluginFactory(const CPluginFactory&) = delete;
  CPluginFactory& operator=(const CPluginFactory&) = delete;

  // Each adds one class, in host-visible order. False, and nothing added, when the record is
  // null, the create function is null or the class ID is already registered.
  bool registerClass(const PClassInfo* info, FUnknownCreateFunction createFunc,
                     void* context = nullptr);
  bool registerClass(const PClassInfo2* info, FUnknownCreateFunction createFunc,
                     void* context = nullptr);
  bool registerClass(const PClassInfoW* info, FUnknownCreateFunction createFunc,
                     void* context = nullptr);

  bool isClassRegistered(const FUID& cid) const;
  void removeAllClasses();

  // FUnknown: answers IPluginFactory, IPluginFactory2, IPluginFactory3 and FUnknown.
  tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  // IPluginFactory
  tresult PLUGIN_API getFactoryInfo(PFactoryInfo* info) override;
  int32 PLUGIN_API countClasses() override;
  tresult PLUGIN_API getClassInfo(int32 index, PClassInfo* info) override;
  // kNoInterface (and *obj null) for an unknown class or an interface the object lacks;
  // a create function that fails or throws gives kOutOfMemory / kInternalError, and no
  // exception reaches the host.
  tresult PLUGIN_API createInstance(FIDString cid, FIDString _iid, void** obj) override;

  // IPluginFactory2
  tresult PLUGIN_API getClassInfo2(int32 index, PClassInfo2* info) override;

  // IPluginFactory3
  tresult PLUGIN_API getClassInfoUnicode(int32 index, PClassInfoW* info) override;
  // Keeps a reference to the host's context until replaced or the factory goes.
  tresult PLUGIN_API setHostContext(FUnknown* context) override;

protected:
  // One registered class, kept in both the 8-bit and the UTF-16 form so that every
  // getClassInfo variant answers from the record as registered.
  struct ClassEntry {
    PClassInfo2 info8;
    PClassInfoW infoW;
    FUnknownCreateFunction createFunc;
    void* context;
  };

  bool addClass(const ClassEntry& entry);
  const ClassEntry* entryAt(int32 index) const;

  PFactoryInfo factoryInfo;
  std::vector<ClassEntry> classes;
  FUnknown* hostContext = nullptr;
  int32 refCount = 1;
};

// The module's factory while it lives (null before the first GetPluginFactory and after the
// host released it).
extern IPluginFactory* gPluginFactory;

} // namespace Steinberg
