#include "FakeHost.h"

#include "base/source/fobject.h"
#include "public.sdk/source/vst/vstaudioeffect.h"
#include "public.sdk/source/vst/vsteditcontroller.h"

#include <gtest/gtest.h>

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
