// FObject: the reference-counted base of the SDK's helper classes, with run-time class names
// (isA / isTypeOf / FCast) and a small dependents list for change notifications.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "base/source/idependent.h"

#include <atomic>
#include <vector>

namespace Steinberg {

// Run-time class names are plain C strings compared by content.
using FClassID = FIDString;

class FObject : public IDependent {
public:
  FObject() = default;
  // A copy is a new object: it starts with its own single reference and no dependents.
  FObject(const FObject&) : IDependent() {}
  FObject& operator=(const FObject&) { return *this; }

  // FUnknown: answers FUnknown, IDependent and FObject's own ID.
  tresult PLUGIN_API queryInterface(const TUID _iid, void** obj) override;
  uint32 PLUGIN_API addRef() override;
  uint32 PLUGIN_API release() override;

  // IDependent: objects that watch others override this; the base does nothing.
  void PLUGIN_API update(FUnknown* changedUnknown, int32 message) override;

  virtual ~FObject();

  // Run-time class checks. OBJ_METHODS in every subclass keeps them answering its own name.
  virtual FClassID isA() const { return FObject::getFClassID(); }
  virtual bool isA(FClassID s) const { return isTypeOf(s, false); }
  virtual bool isTypeOf(FClassID s, bool /*askBaseClass*/ = true) const {
    return classIDsEqual(s, getFClassID());
  }

  static FClassID getFClassID() { return "FObject"; }
  static bool classIDsEqual(FClassID a, FClassID b);

  int32 getRefCount() const { return refCount.load(std::memory_order_acquire); }
  FUnknown* unknownCast() { return static_cast<IDependent*>(this); }

  // Dependents are weak: they are not counted and must remove themselves before they die.
  // Main thread only.
  void addDependent(IDependent* dep);
  void removeDependent(IDependent* dep);
  // Tells every dependent that this object changed (message kChanged by default).
  virtual void changed(int32 msg = kChanged);

  // The ID FCast uses to find the FObject behind an interface pointer. It never leaves the
  // process and is not one of the host-visible interface IDs.
  static const FUID iid;

private:
  std::atomic<int32> refCount{1};
  std::vector<IDependent*>* dependents = nullptr; // created on first addDependent
};

DECLARE_CLASS_IID(FObject, 0x4F72766E, 0x65464F62, 0x6A656374, 0x00000001)

// The FObject subclass of type C behind `object`, or null when it is not one.
template <class C> C* FCast(const FObject* object) {
  if (object && object->isTypeOf(C::getFClassID(), true))
    return static_cast<C*>(const_cast<FObject*>(object));
  return nullptr;
}

// The same for an interface pointer: asks the object for its FObject first.
template <class C> C* FCast(FUnknown* unknown) {
  if (!unknown)
    return nullptr;
  FObject* object = nullptr;
  if (unknown->queryInterface(FObject::iid, reinterpret_cast<void**>(&object)) != kResultOk ||
      !object)
    return nullptr;
  object->release(); // the query's reference; the caller's own one keeps the object alive
  return FCast<C>(object);
}

} // namespace Steinberg

// Class-name answers of an FObject subclass: getFClassID, isA and isTypeOf, asking the base
// class when askBaseClass is set.
#define OBJ_METHODS(className, baseClass)                                                          \
  static ::Steinberg::FClassID getFClassID() {                                                     \
    return #className;                                                                             \
  }                                                                                                \
  ::Steinberg::FClassID isA() const override {                                                     \
    return className::getFClassID();                                                               \
  }                                                                                                \
  bool isA(::Steinberg::FClassID s) const override {                                               \
    return isTypeOf(s, false);                                                                     \
  }                                                                                                \
  bool isTypeOf(::Steinberg::FClassID s, bool askBaseClass = true) const override {                \
    return ::Steinberg::FObject::classIDsEqual(s, #className) ||                                   \
           (askBaseClass && baseClass::isTypeOf(s, true));                                         \
  }

// Reference counting of a class with several interface bases: all go to the FObject count.
#define REFCOUNT_METHODS(BaseClass)                                                                \
  ::Steinberg::uint32 PLUGIN_API addRef() override {                                               \
    return BaseClass::addRef();                                                                    \
  }                                                                                                \
  ::Steinberg::uint32 PLUGIN_API release() override {                                              \
    return BaseClass::release();                                                                   \
  }

// queryInterface of a class with several interface bases:
//   DEFINE_INTERFACES DEF_INTERFACE(IOne) DEF_INTERFACE(ITwo) END_DEFINE_INTERFACES(Base)
#define DEFINE_INTERFACES                                                                          \
  ::Steinberg::tresult PLUGIN_API queryInterface(const ::Steinberg::TUID iid, void** obj)          \
      override {                                                                                   \
    if (!obj)                                                                                      \
      return ::Steinberg::kInvalidArgument;

#define DEF_INTERFACE(InterfaceName) QUERY_INTERFACE(iid, obj, InterfaceName::iid, InterfaceName)

#define END_DEFINE_INTERFACES(BaseClass)                                                           \
  return BaseClass::queryInterface(iid, obj);                                                      \
  }

// All three FUnknown methods of a class that adds interfaces to an FObject base.
#define FUNKNOWN_METHODS(InterfaceName, BaseClass)                                                 \
  DEFINE_INTERFACES                                                                                \
  DEF_INTERFACE(InterfaceName)                                                                     \
  END_DEFINE_INTERFACES(BaseClass)                                                                 \
  REFCOUNT_METHODS(BaseClass)

#define FUNKNOWN_METHODS2(InterfaceName1, InterfaceName2, BaseClass)                               \
  DEFINE_INTERFACES                                                                                \
  DEF_INTERFACE(InterfaceName1)                                                                    \
  DEF_INTERFACE(InterfaceName2)                                                                    \
  END_DEFINE_INTERFACES(BaseClass)                                                                 \
  REFCOUNT_METHODS(BaseClass)
