// What the compressor bundle tells an AAX host at registration, and the entry points around
// it.
#include "AAXBundleSession.h"

#include <algorithm>
#include <map>

namespace aax_bundle_test {
namespace {

using Properties = std::vector<std::pair<AAX_CPropertyID, AAX_CPropertyValue>>;

TEST_F(BundleSession, DescribesOneDynamicsEffectWithItsThreeNames) {
  EXPECT_EQ(collection->effects[0].first, "com.Quenmark.aax.OrvaneCompressor");
  EXPECT_EQ(effect->names, (std::vector<std::string>{"Orvane Compressor", "OrvnComp", "OVCO"}));
  EXPECT_EQ(collection->packageNames, effect->names);
  EXPECT_EQ(effect->categories, std::vector<uint32_t>{2});
  EXPECT_EQ(collection->manufacturerNames, std::vector<std::string>{"Quenmark"});
  EXPECT_EQ(collection->packageVersion, 0x10100u);
  ASSERT_EQ(effect->procs.size(), 2u);
  EXPECT_NE(effect->procs.at(0), nullptr); // the effect-parameters object
  EXPECT_NE(effect->procs.at(1), nullptr); // the editor object
}

TEST_F(BundleSession, DescribesAMonoAndAStereoComponent) {
  ASSERT_EQ(effect->components.size(), 2u);
  const uint32_t mono = 0x00000001, stereo = 0x00010002;
  const auto fourCC = [](const char* c) {
    return AAX_CPropertyValue(AAX_FourCC(c[0], c[1], c[2], c[3]));
  };
  const Properties expected[] = {{{56, 0},
                                  {51, AAX_CPropertyValue(mono)},
                                  {52, AAX_CPropertyValue(mono)},
                                  {60, 1},
                                  {300, 1},
                                  {11, fourCC("QNMK")},
                                  {12, fourCC("ovCP")},
                                  {13, fourCC("QNC1")},
                                  {14, fourCC("QNC3")}},
                                 {{56, 0},
                                  {51, AAX_CPropertyValue(stereo)},
                                  {52, AAX_CPropertyValue(stereo)},
                                  {60, 1},
                                  {300, 1},
                                  {11, fourCC("QNMK")},
                                  {12, fourCC("ovCP")},
                                  {13, fourCC("QNC2")},
                                  {14, fourCC("QNC4")}}};
  for (size_t k = 0; k < 2; ++k) {
    const aaxhost::FakeComponentDescriptor& component = *effect->components[k];
    ASSERT_EQ(component.processProcs.size(), 1u);
    ASSERT_NE(component.processProcs[0].properties, nullptr);
    EXPECT_EQ(component.processProcs[0].properties->properties, expected[k]) << "component " << k;
    EXPECT_NE(component.processProcs[0].proc, nullptr);
  }
}

TEST_F(BundleSession, ComponentFieldsAreTheBlockTheProcessProcedureReads) {
  std::map<AAX_CFieldIndex, std::string> expected{
      {0, "AudioIn"},           {1, "AudioOut"},
      {2, "AudioBufferLength"}, {3, "SampleRate"},
      {4, "Reserved 0"},        {5, "Reserved 0"},
      {6, "Reserved 0"},        {7, "MIDINode 3 Transport 65535"},
      {23, "PrivateData 8"},    {24, "Reserved 1"}};
  for (AAX_CFieldIndex f = 8; f <= 22; ++f)
    expected[f] = "Reserved 0";
  for (const aaxhost::FakeComponentDescriptor* component : effect->components)
    EXPECT_EQ(component->fields, expected);
}

TEST_F(BundleSession, TheOtherEntryPointsAnswerAsAHostExpects) {
  IACFUnknown* component = reinterpret_cast<IACFUnknown*>(&host);
  EXPECT_EQ(bundle->RegisterComponent(&host, 0, &component), AAX_SUCCESS);
  EXPECT_EQ(component, nullptr);
  void* factory = &host;
  EXPECT_EQ(bundle->GetClassFactory(&host, CLSID_Collection, IID_Collection, &factory),
            AAX_ERROR_UNIMPLEMENTED);
  EXPECT_EQ(factory, nullptr);
  uint64_t version = 0;
  EXPECT_EQ(bundle->GetSDKVersion(&version), AAX_SUCCESS);
  EXPECT_EQ(version, 0x00000201007756BFull);
  EXPECT_EQ(bundle->CanUnloadNow(&host), 0);
  MakeInstance(2);
  EXPECT_GT(bundle->CanUnloadNow(&host), 0); // the instance is alive
  instance.reset();
  EXPECT_EQ(bundle->CanUnloadNow(&host), 0);
}

// A host that reports success for an interface and hands out null breaks the object model;
// the library throws inside, and the exported entry answers 0x8000FFFF instead of crashing.
TEST_F(BundleSession, NoExceptionLeavesAnEntryPoint) {
  aaxhost::FakeAAXHost broken;
  broken.Break(IID_ACFComponentFactory);
  IACFUnknown* registered = nullptr;
  EXPECT_EQ(bundle->RegisterPlugin(&broken, &registered), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(registered, nullptr);
  EXPECT_EQ(bundle->Shutdown(&host), AAX_SUCCESS);
  EXPECT_EQ(bundle->Startup(&broken), AAX_ERROR_EXCEPTION_CAUGHT);
  EXPECT_EQ(bundle->Startup(&host), AAX_SUCCESS);
  EXPECT_EQ(broken.OutstandingReferences(), 0);
}

TEST_F(BundleSession, RegistrationWithoutAHostCollectionFails) {
  aaxhost::FakeAAXHost bare;
  bare.factory.Refuse(CLSID_Collection);
  IACFUnknown* registered = nullptr;
  EXPECT_EQ(bundle->RegisterPlugin(&bare, &registered), AAX_ERROR_NULL_OBJECT);
  EXPECT_EQ(registered, nullptr);
}

} // namespace
} // namespace aax_bundle_test
