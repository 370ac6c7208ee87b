// Reference counting and interface queries: the implementation macros and the smart pointers
// every plug-in class and host object relies on.
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"

#include <gtest/gtest.h>

namespace {

using namespace Steinberg;

int gAlive = 0;

// A class implemented with the macros, answering IPluginBase and (through the macro) FUnknown.
class Counted : public IPluginBase {
public:
  Counted() {
    FUNKNOWN_CTOR
    ++gAlive;
  }
  virtual ~Counted() { --gAlive; }
  DECLARE_FUNKNOWN_METHODS
  tresult PLUGIN_API initialize(FUnknown*) override { return kResultOk; }
  tresult PLUGIN_API terminate() override { return kResultOk; }
  int32 count() const { return __funknownRefCount; }
};

IMPLEMENT_FUNKNOWN_METHODS(Counted, IPluginBase, IPluginBase::iid)

TEST(FUnknown, MacrosCountReferencesAndAnswerTheirInterfaces) {
  auto* object = new Counted;
  EXPECT_EQ(gAlive, 1);
  void* obj = nullptr;
  ASSERT_EQ(object->queryInterface(IPluginBase::iid, &obj), kResultOk);
  EXPECT_EQ(obj, static_cast<IPluginBase*>(object));
  ASSERT_EQ(object->queryInterface(FUnknown::iid, &obj), kResultOk);
  EXPECT_EQ(object->count(), 3);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->queryInterface(IBStream::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  EXPECT_EQ(object->release(), 2u);
  EXPECT_EQ(object->release(), 1u);
  EXPECT_EQ(object->release(), 0u);
  EXPECT_EQ(gAlive, 0);
}

TEST(FUnknown, SmartPointersBalanceTheirReferences) {
  auto* object = new Counted;
  {
    IPtr<IPluginBase> adopted = owned(static_cast<IPluginBase*>(object)); // takes the first
    EXPECT_EQ(object->count(), 1);
    IPtr<IPluginBase> copy = adopted;
    EXPECT_EQ(object->count(), 2);
    IPtr<IPluginBase> moved = std::move(copy);
    EXPECT_EQ(copy.get(), nullptr);
    EXPECT_EQ(object->count(), 2);
    moved.reset();
    EXPECT_EQ(object->count(), 1);

    FUnknownPtr<IPluginBase> queried(static_cast<FUnknown*>(object));
    ASSERT_TRUE(queried);
    EXPECT_EQ(object->count(), 2);
    FUnknownPtr<IBStream> missing(static_cast<FUnknown*>(object));
    EXPECT_FALSE(missing);
    EXPECT_EQ(object->count(), 2);
    queried = nullptr;
    EXPECT_EQ(object->count(), 1);
  }
  EXPECT_EQ(gAlive, 0);

  // OPtr adopts a freshly made object's single reference.
  {
    OPtr<IPluginBase> fresh(new Counted);
    EXPECT_EQ(gAlive, 1);
  }
  EXPECT_EQ(gAlive, 0);
}

} // namespace
