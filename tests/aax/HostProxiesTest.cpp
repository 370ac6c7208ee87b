// The host proxies, the host-services singleton and the library side of the ACF entry points,
// driven against the recording host.
#include "FakeAAXHost.h"
#include "aax/library/AAX_ACFEntries.h"
#include "aax/library/AAX_VAutomationDelegate.h"
#include "aax/library/AAX_VCollection.h"
#include "aax/library/AAX_VController.h"
#include "aax/library/AAX_VHostServices.h"
#include "aax/library/AAX_VTransport.h"
#include "aax/library/AAX_VViewContainer.h"
#include "aax/library/CACFUnknown.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using aaxhost::FakeAAXHost;

namespace {

using Calls = std::vector<std::string>;

TEST(HostProxies, ForwardEveryOperationAndGiveBackTheirReferences) {
  FakeAAXHost host;
  host.controller.sampleRate = 44100.0f;
  host.controller.inputStemFormat = 0x00000001;
  {
    AAX_VController controller(&host);
    AAX_VAutomationDelegate automation(&host);
    AAX_VTransport transport(&host);
    float rate = 0;
    uint32_t input = 0;
    EXPECT_EQ(controller.GetSampleRate(&rate), AAX_SUCCESS);
    EXPECT_EQ(controller.GetInputStemFormat(&input), AAX_SUCCESS);
    EXPECT_EQ(controller.SetSignalLatency(64), AAX_SUCCESS);
    EXPECT_EQ(controller.SendNotification(AAX_FourCC('t', 'e', 's', 't'), nullptr, 0), 0);
    EXPECT_EQ(automation.PostSetValueRequest("3", 0.25), AAX_SUCCESS);
    int64_t samples = -1;
    EXPECT_EQ(transport.GetCurrentSampleLocation(&samples), AAX_SUCCESS);
    EXPECT_FLOAT_EQ(rate, 44100.0f);
    EXPECT_EQ(input, 1u);
    EXPECT_EQ(samples, 0);
    EXPECT_GT(host.OutstandingReferences(), 0);
  }
  EXPECT_EQ(
      host.log.Calls(),
      (Calls{"Controller.GetSampleRate", "Controller.GetInputStemFormat",
             "Controller.SetSignalLatency(64)", "Controller.SendNotification(74657374, 0)",
             "Automation.PostSetValueRequest(3, 0.25)", "Transport.GetCurrentSampleLocation"}));
  EXPECT_EQ(host.OutstandingReferences(), 0);
}

TEST(HostProxies, AnswerTheMissingCodesWithoutCallingTheHost) {
  // No host at all: first-version operations miss the host object, second-version ones are
  // not offered.
  AAX_VController noController(nullptr);
  AAX_VTransport noTransport(nullptr);
  AAX_VAutomationDelegate noAutomation(nullptr);
  AAX_VViewContainer noContainer(nullptr);
  float rate = -1;
  int64_t samples = -1;
  uint32_t modifiers = 7;
  AAX_Point size{1, 2};
  EXPECT_EQ(noController.GetSampleRate(&rate), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(noController.PostPacket(0, nullptr, 0), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(noController.SendNotification(0, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(noTransport.GetCurrentTempo(nullptr), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(noTransport.GetCurrentSampleLocation(&samples), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(noAutomation.RegisterParameter("0"), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(noContainer.GetType(), 0);
  EXPECT_EQ(noContainer.GetNativeView(), nullptr);
  EXPECT_EQ(noContainer.GetModifiers(&modifiers), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(noContainer.SetViewSize(size), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(noContainer.HandleParameterMouseDown("0", 0), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(rate, -1);
  EXPECT_EQ(samples, -1);
  EXPECT_EQ(modifiers, 7u);
  AAX_VHostServices noServices(nullptr);
  EXPECT_EQ(noServices.Trace(0, "x"), AAX_ERROR_NULL_OBJECT);
}

TEST(HostProxies, ControllerWithoutSecondVersionStillAnswersTheFirst) {
  FakeAAXHost host;
  host.Withhold(IID_Controller_V2);
  host.Withhold(IID_Transport_V2);
  AAX_VController controller(&host);
  AAX_VTransport transport(&host);
  uint32_t format = 0;
  double tempo = 0;
  int64_t samples = -1;
  EXPECT_EQ(controller.GetOutputStemFormat(&format), AAX_SUCCESS);
  EXPECT_EQ(format, 0x00010002u);
  EXPECT_EQ(controller.SendNotification(1, nullptr, 0), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(transport.GetCurrentTempo(&tempo), AAX_SUCCESS);
  EXPECT_EQ(tempo, 120.0);
  EXPECT_EQ(transport.GetCurrentSampleLocation(&samples), AAX_ERROR_UNIMPLEMENTED);
  EXPECT_TRUE(host.log.Matching("Controller.SendNotification").empty());
}

TEST(HostProxies, ThrowWhenAHostQuerySucceedsWithoutAnInterface) {
  FakeAAXHost host;
  host.Break(IID_Controller);
  try {
    AAX_VController controller(&host);
    FAIL() << "no exception";
  } catch (int32_t code) {
    EXPECT_EQ(code, int32_t(0x80000005u));
  }
  EXPECT_EQ(host.OutstandingReferences(), 0);
}

TEST(HostProxies, ViewContainerForwardsClicksSizesAndModifiers) {
  FakeAAXHost host;
  int nativeView = 0;
  host.viewContainer.nativeView = &nativeView;
  host.viewContainer.modifiers = 8;
  host.viewContainer.mouseDownAnswer = AAX_SUCCESS;
  {
    AAX_VViewContainer container(&host.viewContainer);
    uint32_t modifiers = 0;
    AAX_Point size{300.0f, 400.0f};
    EXPECT_EQ(container.GetType(), int32_t(AAX_eViewContainer_Type_NSView));
    EXPECT_EQ(container.GetNativeView(), &nativeView);
    EXPECT_EQ(container.GetModifiers(&modifiers), AAX_SUCCESS);
    EXPECT_EQ(modifiers, 8u);
    EXPECT_EQ(container.SetViewSize(size), AAX_SUCCESS);
    EXPECT_EQ(container.HandleParameterMouseDown("4", 9), AAX_SUCCESS);
  }
  EXPECT_EQ(host.log.Matching("ViewContainer.S"), (Calls{"ViewContainer.SetViewSize(300, 400)"}));
  EXPECT_EQ(host.log.Matching("ViewContainer.H"),
            (Calls{"ViewContainer.HandleParameterMouseDown(4, 9)"}));
  EXPECT_EQ(host.viewContainer.References(), 0);
}

// A small description like the adapter's, to drive the collection proxy and its descriptors.
AAX_Result DescribeOneEffect(AAX_VCollection& collection) {
  AAX_VEffectDescriptor* effect = collection.NewDescriptor();
  if (!effect)
    return AAX_ERROR_NULL_OBJECT;
  AAX_Result result = effect->AddName("Orvane Compressor");
  result |= collection.AddPackageName("Orvane Compressor");
  result |= effect->AddCategory(2);
  AAX_VComponentDescriptor* component = effect->NewComponentDescriptor();
  result |= component->AddAudioIn(0);
  result |= component->AddMIDINode(7, AAX_eMIDINodeType_Transport, "Transport", 65535);
  result |= component->AddReservedField(4, AAX_eFieldType_MIDINode);
  result |= component->AddPrivateData(23, 8);
  AAX_VPropertyMap* properties = component->NewPropertyMap();
  result |= properties->AddProperty(11, int32_t(AAX_FourCC('Q', 'N', 'M', 'K')));
  result |= component->AddProcessProc(nullptr, properties);
  result |= effect->AddComponent(component);
  result |= effect->AddProcPtr(nullptr, 0);
  if (result == AAX_SUCCESS)
    result |= collection.AddEffect("com.Quenmark.aax.OrvaneCompressor", effect);
  result |= collection.AddManufacturerName("Quenmark");
  result |= collection.SetPackageVersion(0x10100);
  return result;
}

TEST(AcfEntries, RegisterPluginRecordsTheDescriptionAndHandsBackTheRegisteredObject) {
  FakeAAXHost host;
  IACFUnknown* registered = nullptr;
  ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeOneEffect), AAX_SUCCESS);
  ASSERT_EQ(host.factory.Collections().size(), 1u);
  const aaxhost::FakeCollection& collection = *host.factory.Collections()[0];
  EXPECT_EQ(registered, static_cast<const IACFUnknown*>(&collection));
  registered->Release();

  ASSERT_EQ(collection.effects.size(), 1u);
  EXPECT_EQ(collection.effects[0].first, "com.Quenmark.aax.OrvaneCompressor");
  const aaxhost::FakeEffectDescriptor& effect = *collection.effects[0].second;
  EXPECT_EQ(effect.names, (Calls{"Orvane Compressor"}));
  EXPECT_EQ(effect.categories, (std::vector<uint32_t>{2}));
  ASSERT_EQ(effect.components.size(), 1u);
  const aaxhost::FakeComponentDescriptor& component = *effect.components[0];
  EXPECT_EQ(component.fields.at(0), "AudioIn");
  EXPECT_EQ(component.fields.at(4), "Reserved 0");
  EXPECT_EQ(component.fields.at(7), "MIDINode 3 Transport 65535");
  EXPECT_EQ(component.fields.at(23), "PrivateData 8");
  ASSERT_EQ(component.processProcs.size(), 1u);
  ASSERT_NE(component.processProcs[0].properties, nullptr);
  EXPECT_EQ(component.processProcs[0].properties->properties,
            (std::vector<std::pair<int32_t, int32_t>>{{11, 0x514E4D4B}}));
  EXPECT_EQ(collection.manufacturerNames, (Calls{"Quenmark"}));
  EXPECT_EQ(collection.packageVersion, 0x10100u);
  // The collection proxy and every descriptor it made are gone: no reference is left.
  EXPECT_EQ(host.OutstandingReferences(), 0);
}

TEST(AcfEntries, RegisterPluginFailsWithTheDescriptionsResultOrAMissingCollection) {
  {
    FakeAAXHost host;
    IACFUnknown* registered = reinterpret_cast<IACFUnknown*>(0x1);
    auto failing = [](AAX_VCollection&) -> AAX_Result { return AAX_ERROR_UNIMPLEMENTED; };
    EXPECT_EQ(AAX_ACFRegisterPlugin(&host, &registered, failing), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ(registered, nullptr);
  }
  {
    FakeAAXHost host;
    host.factory.Refuse(CLSID_Collection);
    IACFUnknown* registered = nullptr;
    EXPECT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeOneEffect), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }
  {
    // Effect descriptors refused: the description cannot start.
    FakeAAXHost host;
    host.factory.Refuse(CLSID_EffectDescriptor);
    IACFUnknown* registered = nullptr;
    EXPECT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeOneEffect), AAX_ERROR_NULL_OBJECT);
  }
  {
    // A host that reports a factory and hands over none: the exception stays inside.
    FakeAAXHost host;
    host.Break(IID_ACFComponentFactory);
    IACFUnknown* registered = nullptr;
    EXPECT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeOneEffect),
              AAX_ERROR_EXCEPTION_CAUGHT);
    EXPECT_EQ(host.OutstandingReferences(), 0);
  }
}

TEST(AcfEntries, SecondVersionDescriptorsAreOptional) {
  FakeAAXHost host;
  host.factory.WithholdFromProducts(IID_EffectDescriptor_V2);
  host.factory.WithholdFromProducts(IID_ComponentDescriptor_V2);
  host.factory.WithholdFromProducts(IID_PropertyMap_V2);
  IACFUnknown* registered = nullptr;
  ASSERT_EQ(AAX_ACFRegisterPlugin(&host, &registered, DescribeOneEffect), AAX_SUCCESS);
  registered->Release();
  EXPECT_EQ(host.factory.Collections()[0]->effects.size(), 1u);
}

TEST(AcfEntries, FixedAnswers) {
  IACFUnknown* component = reinterpret_cast<IACFUnknown*>(0x1);
  EXPECT_EQ(AAX_ACFRegisterComponent(nullptr, 0, &component), AAX_SUCCESS);
  EXPECT_EQ(component, nullptr);
  void* factory = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(AAX_ACFGetClassFactory(nullptr, CLSID_Collection, IID_Collection, &factory),
            AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(factory, nullptr);
  uint64_t version = 0;
  EXPECT_EQ(AAX_ACFGetSDKVersion(&version), AAX_SUCCESS);
  EXPECT_EQ(version, 0x00000201007756BFull);
  EXPECT_EQ(AAX_ACFCanUnloadNow(nullptr), CACFUnknown::GetLiveObjectCount());
}

TEST(HostServices, TraceReachesTheHostOnlyBetweenStartupAndShutdown) {
  FakeAAXHost host;
  EXPECT_EQ(AAX_Trace(1, "before %d", 1), AAX_SUCCESS);
  EXPECT_EQ(AAX_ACFStartup(&host), AAX_SUCCESS);
  ASSERT_EQ(host.factory.Services().size(), 1u);
  // A second start-up keeps the first singleton.
  EXPECT_EQ(AAX_ACFStartup(&host), AAX_SUCCESS);
  EXPECT_EQ(host.factory.Services().size(), 1u);

  EXPECT_EQ(AAX_Trace(0x8000000, "value %d of %s", 3, "Gain"), AAX_SUCCESS);
  const std::string longText(600, 'x');
  EXPECT_EQ(AAX_Trace(2, "%s", longText.c_str()), AAX_SUCCESS);
  EXPECT_EQ(AAX_ACFShutdown(nullptr), AAX_SUCCESS);
  EXPECT_EQ(AAX_Trace(1, "after"), AAX_SUCCESS);

  const auto& traces = host.factory.Services()[0]->traces;
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_EQ(traces[0], std::make_pair(0x8000000, std::string("value 3 of Gain")));
  EXPECT_EQ(traces[1].second, std::string(511, 'x')); // cut to 512 characters with terminator
  EXPECT_EQ(host.OutstandingReferences(), 0);
}

} // namespace

namespace {

TEST(HostServices, AStartupOnABrokenHostAnswersTheCaughtExceptionCode) {
  FakeAAXHost host;
  host.Break(IID_ACFComponentFactory);
  EXPECT_EQ(AAX_ACFStartup(&host), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(AAX_HostServices_GetSingleton(), nullptr);
  EXPECT_EQ(AAX_Trace(0, "nothing"), AAX_SUCCESS);
  // A host without the services still gets a singleton whose traces miss their host object.
  FakeAAXHost plain;
  plain.factory.Refuse(CLSID_HostServices);
  EXPECT_EQ(AAX_ACFStartup(&plain), AAX_SUCCESS);
  EXPECT_EQ(AAX_Trace(0, "lost"), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(AAX_ACFShutdown(&plain), AAX_SUCCESS);
}

} // namespace
