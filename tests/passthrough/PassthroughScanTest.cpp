// The bundle seen by a scanning host: factory, classes, buses, and the factory's answers to
// requests it cannot serve.
#include "tests/hosts/vst3/Scan.h"
#include "tests/passthrough/PassthroughFixture.h"

namespace orvane::passthrough {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;

TEST(PassthroughScan, FindsOneStereoAudioModuleAndItsController) {
  const testhost::ScanReport report = testhost::scanBundle(kBundle);
  ASSERT_TRUE(report.loaded) << report.error;
  EXPECT_EQ(report.factoryInfo, kResultOk);
  EXPECT_EQ(report.vendor, "Quenmark");
  EXPECT_EQ(report.factoryFlags, PFactoryInfo::kUnicode);
  EXPECT_TRUE(report.hasFactory2);
  EXPECT_TRUE(report.hasFactory3);

  ASSERT_EQ(report.classes.size(), 2u);
  const testhost::ClassRecord& processor = report.classes[0];
  EXPECT_EQ(processor.cid, kProcessorUID);
  EXPECT_EQ(processor.category, "Audio Module Class");
  EXPECT_EQ(processor.name, "Orvane Passthrough");
  EXPECT_EQ(processor.cardinality, 0x7FFFFFFF);
  EXPECT_EQ(processor.classFlags, 1u);
  EXPECT_EQ(processor.subCategories, "Fx");
  EXPECT_EQ(processor.version, "1.1");
  EXPECT_EQ(processor.sdkVersion, "VST 3.6.5");
  EXPECT_EQ(processor.nameW, u"Orvane Passthrough");
  EXPECT_EQ(processor.sdkVersionW, u"VST 3.6.5");
  const testhost::ClassRecord& controller = report.classes[1];
  EXPECT_EQ(controller.cid, kControllerUID);
  EXPECT_EQ(controller.category, "Component Controller Class");
  EXPECT_EQ(controller.name, "Orvane PassthroughController");

  ASSERT_EQ(report.audioModules.size(), 1u);
  const testhost::ScannedClass& scanned = report.audioModules[0];
  EXPECT_EQ(scanned.initialize, kResultOk);
  EXPECT_TRUE(scanned.hasAudioProcessor);
  EXPECT_TRUE(scanned.can32);
  EXPECT_TRUE(scanned.can64);
  ASSERT_EQ(scanned.audioInputs.size(), 1u);
  ASSERT_EQ(scanned.audioOutputs.size(), 1u);
  EXPECT_EQ(scanned.audioInputs[0].channelCount, 2);
  EXPECT_EQ(std::u16string(scanned.audioOutputs[0].name), u"Output");
  EXPECT_EQ(scanned.audioOutputs[0].busType, kMain);
  EXPECT_EQ(scanned.audioOutputs[0].flags, BusInfo::kDefaultActive);
  EXPECT_EQ(scanned.eventInputs, 0);
  EXPECT_EQ(scanned.setProcessingOff, kResultOk);
  EXPECT_EQ(scanned.setActiveOff, kResultOk);
  EXPECT_EQ(scanned.terminate, kResultOk);
}

TEST_F(PassthroughFixture, FactoryRefusesWhatItCannotMake) {
  IPluginFactory* factory = module->factory();
  PClassInfo info;
  EXPECT_EQ(factory->getClassInfo(2, &info), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfo(-1, &info), kInvalidArgument);
  EXPECT_EQ(factory->getClassInfo(0, nullptr), kInvalidArgument);

  TUID unknown = INLINE_UID(1, 2, 3, 4);
  void* obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->createInstance(unknown, IComponent::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
  // The processor is no controller: refused, and the object made on the way is freed.
  TUID processor;
  kProcessorUID.toTUID(processor);
  obj = reinterpret_cast<void*>(1);
  EXPECT_EQ(factory->createInstance(processor, IEditController::iid, &obj), kNoInterface);
  EXPECT_EQ(obj, nullptr);
}

TEST_F(PassthroughFixture, GetPluginFactoryHandsOutOneFactory) {
  auto getFactory = reinterpret_cast<GetFactoryProc>(module->symbol("GetPluginFactory"));
  ASSERT_NE(getFactory, nullptr);
  IPluginFactory* again = getFactory();
  EXPECT_EQ(again, module->factory());
  EXPECT_EQ(again->countClasses(), 2); // not registered twice
  again->release();
}

TEST_F(PassthroughFixture, ControllerIsASeparateObjectAndTheHalvesAreConnected) {
  EXPECT_FALSE(plugin->singleObject());
  ASSERT_NE(plugin->controller(), nullptr);
  TUID controllerClass;
  EXPECT_EQ(plugin->component()->getControllerClassId(controllerClass), kResultOk);
  EXPECT_EQ(FUID::fromTUID(controllerClass), kControllerUID);
}

} // namespace
} // namespace orvane::passthrough
