#include "FakeHost.h"

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "public.sdk/source/vst/vstaudioeffect.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace orvane::test {
namespace {

// Notes its own destruction so the tests can see when the last reference went.
class Tracked : public FObject {
public:
  explicit Tracked(bool* destroyed) : destroyed(destroyed) {}
  ~Tracked() override { *destroyed = true; }
  OBJ_METHODS(Tracked, FObject)

private:
  bool* destroyed;
};

// A subclass two levels down, named like the framework's parameter class.
class IFxParameter : public Parameter {
public:
  OBJ_METHODS(IFxParameter, Parameter)
};

TEST(FObjectRefCount, StartsAtOneAndDeletesOnLastRelease) {
  bool destroyed = false;
  auto* object = new Tracked(&destroyed);
  EXPECT_EQ(object->getRefCount(), 1);
  EXPECT_EQ(object->addRef(), 2u);
  EXPECT_EQ(object->release(), 1u);
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(object->release(), 0u);
  EXPECT_TRUE(destroyed);
}

TEST(FObjectRefCount, SuccessfulQueryAddsOneReference) {
  bool destroyed = false;
  auto* object = new Tracked(&destroyed);
  void* obj = nullptr;
  ASSERT_EQ(object->queryInterface(FUnknown::iid, &obj), kResultOk);
  EXPECT_EQ(obj, object->unknownCast());
  EXPECT_EQ(object->getRefCount(), 2);
  static_cast<FUnknown*>(obj)->release();

  obj = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(object->queryInterface(IEditController::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(object->getRefCount(), 1);
  EXPECT_EQ(object->queryInterface(FUnknown::iid, nullptr), kInvalidArgument);
  object->release();
  EXPECT_TRUE(destroyed);
}

TEST(FObjectClassNames, SubclassAnswersItsOwnNameAndItsBases) {
  IFxParameter parameter;
  EXPECT_STREQ(parameter.isA(), "IFxParameter");
  EXPECT_TRUE(parameter.isA("IFxParameter"));
  EXPECT_FALSE(parameter.isA("Parameter")); // isA(name) does not ask the base classes
  EXPECT_TRUE(parameter.isTypeOf("Parameter"));
  EXPECT_TRUE(parameter.isTypeOf("FObject"));
  EXPECT_FALSE(parameter.isTypeOf("Parameter", false));
  EXPECT_FALSE(parameter.isTypeOf("EditController"));
  EXPECT_FALSE(parameter.isTypeOf(nullptr));
}

TEST(FObjectClassNames, FCastFindsTheObjectBehindAnInterface) {
  auto* controller = new EditControllerEx1();
  IEditController* asInterface = controller;
  EXPECT_EQ(FCast<EditControllerEx1>(asInterface), controller);
  EXPECT_EQ(FCast<EditController>(asInterface), controller);
  EXPECT_EQ(FCast<AudioEffect>(asInterface), nullptr);
  EXPECT_EQ(FCast<EditController>(static_cast<FUnknown*>(nullptr)), nullptr);
  EXPECT_EQ(controller->getRefCount(), 1); // the casts keep no reference
  controller->release();
}

// Each interface of a multi-interface object answers with the same object and one reference;
// FUnknown always gives the same pointer.
TEST(FObjectQueryInterface, ControllerAnswersEveryInterfaceOfItsBases) {
  auto* controller = new EditControllerEx1();
  const FUID ids[] = {IEditController::iid,  IEditController2::iid, IUnitInfo::iid,
                      IConnectionPoint::iid, IPluginBase::iid,      FUnknown::iid};
  for (const FUID& id : ids) {
    void* obj = nullptr;
    ASSERT_EQ(controller->queryInterface(id, &obj), kResultOk);
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(controller->getRefCount(), 2);
    static_cast<FUnknown*>(obj)->release();
  }
  void* first = nullptr;
  void* second = nullptr;
  static_cast<IUnitInfo*>(controller)->queryInterface(FUnknown::iid, &first);
  static_cast<IConnectionPoint*>(controller)->queryInterface(FUnknown::iid, &second);
  EXPECT_EQ(first, second);
  static_cast<FUnknown*>(first)->release();
  static_cast<FUnknown*>(second)->release();

  void* plugBase = nullptr;
  controller->queryInterface(IPluginBase::iid, &plugBase);
  EXPECT_EQ(plugBase, static_cast<IPluginBase*>(static_cast<IEditController*>(controller)));
  static_cast<FUnknown*>(plugBase)->release();

  void* none = nullptr;
  EXPECT_EQ(controller->queryInterface(IAudioProcessor::iid, &none), kNoInterface);
  EXPECT_EQ(controller->getRefCount(), 1);
  controller->release();
}

TEST(FObjectQueryInterface, ProcessorAnswersComponentAndProcessor) {
  auto* effect = new AudioEffect();
  void* component = nullptr;
  void* processor = nullptr;
  ASSERT_EQ(effect->queryInterface(IComponent::iid, &component), kResultOk);
  ASSERT_EQ(static_cast<IComponent*>(component)->queryInterface(IAudioProcessor::iid, &processor),
            kResultOk);
  EXPECT_EQ(processor, static_cast<IAudioProcessor*>(effect));
  EXPECT_EQ(effect->getRefCount(), 3);
  static_cast<FUnknown*>(component)->release();
  static_cast<FUnknown*>(processor)->release();
  void* none = nullptr;
  EXPECT_EQ(effect->queryInterface(IEditController::iid, &none), kNoInterface);
  effect->release();
}

// Under the Itanium C++ ABI a pointer to a virtual member function holds 1 + the method's
// byte offset in the vtable.
template <class Method> long slotOf(Method method) {
  struct {
    std::uintptr_t ptr;
    std::ptrdiff_t adjust;
  } rep;
  static_assert(sizeof(Method) == sizeof(rep), "Itanium member-function pointer");
  std::memcpy(&rep, &method, sizeof rep);
  return (rep.ptr & 1) ? static_cast<long>((rep.ptr - 1) / sizeof(void*)) : -1;
}

// FObject's own table: the three FUnknown methods, the update notification, the two
// destructors, then the class-name checks. Subclasses that put an interface first and FObject
// second (the editor's controls) rely on this order.
TEST(FObjectTable, SlotsInTheirOrder) {
  EXPECT_EQ(slotOf(&FObject::queryInterface), 0);
  EXPECT_EQ(slotOf(&FObject::addRef), 1);
  EXPECT_EQ(slotOf(&FObject::release), 2);
  EXPECT_EQ(slotOf(&FObject::update), 3);
  EXPECT_EQ(slotOf(static_cast<FClassID (FObject::*)() const>(&FObject::isA)), 6);
  EXPECT_EQ(slotOf(static_cast<bool (FObject::*)(FClassID) const>(&FObject::isA)), 7);
  EXPECT_EQ(slotOf(&FObject::isTypeOf), 8);
}

// The conversions a parameter subclass overrides come in this order after FObject's slots.
TEST(FObjectTable, ParameterConversionsFollowTheFObjectSlots) {
  const long toString = slotOf(&Parameter::toString);
  EXPECT_GT(toString, 8);
  EXPECT_EQ(slotOf(&Parameter::fromString), toString + 1);
  EXPECT_EQ(slotOf(&Parameter::toPlain), toString + 2);
  EXPECT_EQ(slotOf(&Parameter::toNormalized), toString + 3);
  EXPECT_LT(slotOf(&Parameter::setNormalized), toString);
}

// The shapes the framework builds on these bases: a controller that adds IMidiMapping, and a
// control whose primary base is an interface with FObject second.
class MappingController : public EditControllerEx1, public IMidiMapping {
public:
  tresult PLUGIN_API getMidiControllerAssignment(int32 busIndex, int16 channel,
                                                 CtrlNumber controller, ParamID& id) override {
    if (busIndex != 0)
      return kResultFalse;
    id = 0x10002 + channel * 130 + controller;
    return kResultTrue;
  }
  OBJ_METHODS(MappingController, EditControllerEx1)
  DEFINE_INTERFACES
  DEF_INTERFACE(IMidiMapping)
  END_DEFINE_INTERFACES(EditControllerEx1)
  REFCOUNT_METHODS(EditControllerEx1)
};

class MenuTargetControl : public IContextMenuTarget, public FObject {
public:
  int32 lastTag = -1;
  tresult PLUGIN_API executeMenuItem(int32 tag) override {
    lastTag = tag;
    return kResultOk;
  }
  OBJ_METHODS(MenuTargetControl, FObject)
  DEFINE_INTERFACES
  DEF_INTERFACE(IContextMenuTarget)
  END_DEFINE_INTERFACES(FObject)
  REFCOUNT_METHODS(FObject)
};

TEST(FObjectFrameworkShapes, AddedInterfaceOnAController) {
  auto* controller = new MappingController();
  IEditController* edit = controller;
  void* obj = nullptr;
  ASSERT_EQ(edit->queryInterface(IMidiMapping::iid, &obj), kResultOk);
  auto* mapping = static_cast<IMidiMapping*>(obj);
  ParamID id = 0;
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 2, 7, id), kResultTrue);
  EXPECT_EQ(id, 0x10002u + 267u);
  void* units = nullptr;
  EXPECT_EQ(mapping->queryInterface(IUnitInfo::iid, &units), kResultOk); // base interfaces too
  static_cast<FUnknown*>(units)->release();
  EXPECT_EQ(mapping->release(), 1u);
  EXPECT_STREQ(FCast<EditControllerEx1>(edit)->isA(), "MappingController");
  controller->release();
}

TEST(FObjectFrameworkShapes, InterfaceFirstAndFObjectSecond) {
  auto* control = new MenuTargetControl();
  IContextMenuTarget* target = control;
  void* obj = nullptr;
  ASSERT_EQ(control->unknownCast()->queryInterface(IContextMenuTarget::iid, &obj), kResultOk);
  EXPECT_EQ(obj, target);
  static_cast<IContextMenuTarget*>(obj)->executeMenuItem(3);
  EXPECT_EQ(control->lastTag, 3);
  EXPECT_EQ(target->release(), 1u);
  EXPECT_EQ(FCast<MenuTargetControl>(static_cast<FUnknown*>(target)), control);
  control->release();
}

class Watcher : public FObject {
public:
  std::vector<int32> messages;
  FObject* removeOnUpdate = nullptr;
  void PLUGIN_API update(FUnknown* /*changed*/, int32 message) override {
    messages.push_back(message);
    if (removeOnUpdate)
      removeOnUpdate->removeDependent(this);
  }
};

TEST(FObjectDependents, ChangedReachesEveryDependentOnce) {
  Parameter subject;
  Watcher a;
  Watcher b;
  subject.addDependent(&a);
  subject.addDependent(&a); // a second add is ignored
  subject.addDependent(&b);
  EXPECT_TRUE(subject.setNormalized(0.25));
  EXPECT_EQ(a.messages, std::vector<int32>{IDependent::kChanged});
  EXPECT_EQ(b.messages, std::vector<int32>{IDependent::kChanged});
  EXPECT_FALSE(subject.setNormalized(0.25)); // no change, no message
  EXPECT_EQ(a.messages.size(), 1u);
  subject.removeDependent(&b);
  subject.setNormalized(0.5);
  EXPECT_EQ(a.messages.size(), 2u);
  EXPECT_EQ(b.messages.size(), 1u);
  subject.removeDependent(&a);
}

TEST(FObjectDependents, DependentMayRemoveItselfWhileBeingTold) {
  Parameter subject;
  Watcher a;
  Watcher b;
  a.removeOnUpdate = &subject;
  subject.addDependent(&a);
  subject.addDependent(&b);
  subject.setNormalized(1.0);
  subject.setNormalized(0.0);
  EXPECT_EQ(a.messages.size(), 1u);
  EXPECT_EQ(b.messages.size(), 2u);
  subject.removeDependent(&b);
}

} // namespace
} // namespace orvane::test
