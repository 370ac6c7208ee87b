// The plug-in factory class in process: registration, the three class-record forms, creation
// failures, and the module-wide pointer.
#include "public.sdk/source/main/pluginfactory.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "tests/hosts/vst3/HostObject.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

using namespace Steinberg;

const FUID kFirst(0x11111111, 0x22222222, 0x33333333, 0x44444444);
const FUID kSecond(0x55555555, 0x66666666, 0x77777777, 0x88888888);

class Thing : public orvane::testhost::HostObject<IPluginBase> {
public:
  static int alive;
  Thing() { ++alive; }
  ~Thing() override { --alive; }
  tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
  tresult PLUGIN_API terminate() override { return kResultOk; }
};
int Thing::alive = 0;

FUnknown* makeThing(void*) {
  return static_cast<IPluginBase*>(new Thing);
}
FUnknown* makeNothing(void*) {
  return nullptr;
}
FUnknown* makeThrowing(void*) {
  throw std::runtime_error("cannot");
}

class FactoryTest : public ::testing::Test {
protected:
  FactoryTest()
      : factory(new CPluginFactory(
            PFactoryInfo("Quenmark", "https://example", "a@b.c", PFactoryInfo::kUnicode))) {}
  ~FactoryTest() override {
    if (factory)
      factory->release();
  }

  PClassInfo2 record(const FUID& id, const char* name) {
    return PClassInfo2(id.toTUID(), PClassInfo::kManyInstances, "Audio Module Class", name, 1,
                       "Fx|EQ", "", "1.1", "VST 3.6.5");
  }

  CPluginFactory* factory;
};

TEST_F(FactoryTest, RegistersClassesInOrderAndRefusesDuplicates) {
  const PClassInfo2 first = record(kFirst, "First");
  const PClassInfo2 second = record(kSecond, "Second");
  EXPECT_TRUE(factory->registerClass(&first, makeThing));
  EXPECT_TRUE(factory->registerClass(&second, makeThing));
  EXPECT_FALSE(factory->registerClass(&first, makeThing)); // same class ID
  EXPECT_FALSE(factory->registerClass(&second, nullptr));
  EXPECT_FALSE(factory->registerClass(static_cast<const PClassInfo2*>(nullptr), makeThing));
  EXPECT_EQ(factory->countClasses(), 2);
  EXPECT_TRUE(factory->isClassRegistered(kSecond));

  PClassInfo info;
  ASSERT_EQ(factory->getClassInfo(1, &info), kResultOk);
  EXPECT_STREQ(info.name, "Second");
  EXPECT_TRUE(iidEqual(info.cid, kSecond.toTUID()));
  PFactoryInfo factoryInfo;
  ASSERT_EQ(factory->getFactoryInfo(&factoryInfo), kResultOk);
  EXPECT_STREQ(factoryInfo.vendor, "Quenmark");
  EXPECT_EQ(factoryInfo.flags, 16);
}

TEST_F(FactoryTest, EveryRecordFormAnswersFromTheRegisteredOne) {
  const PClassInfo2 ascii = record(kFirst, "Orvane EQ");
  factory->registerClass(&ascii, makeThing);
  PClassInfoW wide;
  std::memcpy(wide.cid, kSecond.toTUID(), 16);
  wide.cardinality = PClassInfo::kManyInstances;
  std::strcpy(wide.category, "Audio Module Class");
  std::u16string name = u"Égaliseur \u266B";
  std::copy(name.begin(), name.end(), wide.name);
  std::strcpy(wide.subCategories, "Fx");
  std::u16string version = u"1.1";
  std::copy(version.begin(), version.end(), wide.version);
  factory->registerClass(&wide, makeThing);

  PClassInfoW gotW;
  ASSERT_EQ(factory->getClassInfoUnicode(0, &gotW), kResultOk);
  EXPECT_EQ(std::u16string(gotW.name), u"Orvane EQ");
  EXPECT_EQ(std::u16string(gotW.sdkVersion), u"VST 3.6.5");
  EXPECT_STREQ(gotW.subCategories, "Fx|EQ");

  PClassInfo2 got2;
  ASSERT_EQ(factory->getClassInfo2(1, &got2), kResultOk);
  EXPECT_EQ(std::string(got2.name), "\xC3\x89galiseur \xE2\x99\xAB"); // UTF-8
  EXPECT_STREQ(got2.version, "1.1");
  EXPECT_STREQ(got2.subCategories, "Fx");
  EXPECT_EQ(factory->getClassInfo2(2, &got2), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfoUnicode(-1, &gotW), kInvalidArgument);
}

TEST_F(FactoryTest, CreationFailuresReachTheHostAsCodesNotExceptions) {
  const PClassInfo2 thing = record(kFirst, "Thing");
  const PClassInfo2 broken = record(kSecond, "Broken");
  factory->registerClass(&thing, makeThing);
  factory->registerClass(&broken, makeThrowing);

  void* obj = nullptr;
  ASSERT_EQ(factory->createInstance(kFirst.toTUID(), IPluginBase::iid.toTUID(), &obj), kResultOk);
  ASSERT_NE(obj, nullptr);
  EXPECT_EQ(Thing::alive, 1);
  static_cast<IPluginBase*>(obj)->release();
  EXPECT_EQ(Thing::alive, 0);

  // An interface the object lacks: refused, and the object made on the way is gone.
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->createInstance(kFirst.toTUID(), Vst::IComponent::iid.toTUID(), &obj),
            kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(Thing::alive, 0);

  EXPECT_EQ(factory->createInstance(kSecond.toTUID(), IPluginBase::iid.toTUID(), &obj),
            kInternalError);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(factory->createInstance(nullptr, IPluginBase::iid.toTUID(), &obj), kInvalidArgument);
  EXPECT_EQ(factory->createInstance(kFirst.toTUID(), IPluginBase::iid.toTUID(), nullptr),
            kInvalidArgument);

  const PClassInfo2 empty = record(FUID(9, 9, 9, 9), "Empty");
  factory->registerClass(&empty, makeNothing);
  EXPECT_EQ(factory->createInstance(FUID(9, 9, 9, 9).toTUID(), IPluginBase::iid.toTUID(), &obj),
            kOutOfMemory);
}

TEST_F(FactoryTest, AnswersItsThreeFactoryInterfaces) {
  for (const FUID* id :
       {&FUnknown::iid, &IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid}) {
    void* obj = nullptr;
    ASSERT_EQ(factory->queryInterface(id->toTUID(), &obj), kResultOk);
    static_cast<FUnknown*>(obj)->release();
  }
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->queryInterface(Vst::IComponent::iid.toTUID(), &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
}

TEST_F(FactoryTest, ModulePointerIsClearedWhenTheLastReferenceGoes) {
  gPluginFactory = factory;
  factory->addRef();
  EXPECT_EQ(factory->release(), 1u);
  EXPECT_EQ(gPluginFactory, factory);
  factory->release();
  factory = nullptr;
  EXPECT_EQ(gPluginFactory, nullptr);
}

TEST_F(FactoryTest, KeepsAReferenceToTheHostContext) {
  auto* host = new Thing;
  factory->setHostContext(host);
  EXPECT_EQ(host->referenceCount(), 2u);
  factory->setHostContext(nullptr);
  EXPECT_EQ(host->referenceCount(), 1u);
  factory->setHostContext(host);
  factory->release();
  factory = nullptr;
  EXPECT_EQ(host->referenceCount(), 1u);
  host->release();
}

} // namespace
