// The ACF object model: identifiers in their in-memory byte order, reference counting through
// the inner object, the live-object count, and the string class.
#include "AAX_UIDs.h"
#include "aax/library/AAX_CString.h"
#include "aax/library/CACFUnknown.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The in-memory bytes of an identifier from its text form: the first three groups
// little-endian, the last two in text order.
std::vector<uint8_t> BytesFromText(const std::string& text) {
  unsigned a = 0, b = 0, c = 0, d = 0;
  unsigned long long e = 0;
  std::sscanf(text.c_str(), "%8x-%4x-%4x-%4x-%12llx", &a, &b, &c, &d, &e);
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 4; ++i)
    bytes.push_back(uint8_t(a >> (8 * i)));
  for (int i = 0; i < 2; ++i)
    bytes.push_back(uint8_t(b >> (8 * i)));
  for (int i = 0; i < 2; ++i)
    bytes.push_back(uint8_t(c >> (8 * i)));
  bytes.push_back(uint8_t(d >> 8));
  bytes.push_back(uint8_t(d));
  for (int i = 5; i >= 0; --i)
    bytes.push_back(uint8_t(e >> (8 * i)));
  return bytes;
}

std::vector<uint8_t> BytesOf(const acfUID& id) {
  const auto* p = reinterpret_cast<const uint8_t*>(&id);
  return std::vector<uint8_t>(p, p + sizeof id);
}

TEST(AcfIdentifiers, MatchTheirTextFormsByteForByte) {
  const struct {
    const acfUID* id;
    const char* text;
  } cases[] = {
      {&IID_IACFUnknown, "00000000-0000-0000-C000-000000000046"},
      {&IID_RegisteredPluginObject, "00EEF015-7FD0-11D6-8485-00306542A024"},
      {&IID_ACFComponentFactory, "382B6A96-7FD0-11D6-BCFE-00306542A024"},
      {&CLSID_HostServices, "88882C2D-EBBC-42EF-C0AB-8981B0BD0CCA"},
      {&IID_HostServices, "96D42C2D-EBBC-41EF-B0AB-9991A0ED0CCA"},
      {&CLSID_Collection, "89882C2D-77BC-42EF-707B-7981B7BD0CCA"},
      {&IID_Collection, "96D42C2D-EBBC-41DF-B1AB-9991A2EE0CCA"},
      {&CLSID_EffectDescriptor, "89872C2D-75BC-423F-401B-F9A1BAAD0CCA"},
      {&IID_EffectDescriptor, "96D42C2D-EBBC-41EF-D1CB-499442E40FDA"},
      {&IID_EffectDescriptor_V2, "41ECCC52-416B-4072-84BD-40B05210A74C"},
      {&CLSID_ComponentDescriptor, "94872C3D-95BC-413D-D0DB-D9B12AAD0CCA"},
      {&IID_ComponentDescriptor, "96E42C2D-E2BC-51EF-61C7-48994AEB0CDA"},
      {&IID_ComponentDescriptor_V2, "1895259E-AAA9-4F0F-A985-149837B76F89"},
      {&CLSID_PropertyMap, "A587AD3D-D53C-4ADC-D0DD-D9D12DDDDCDA"},
      {&IID_PropertyMap, "96EE2C2D-EECC-5EFF-E2D7-E849E3E2EEEE"},
      {&IID_PropertyMap_V2, "7177DF80-7C9C-11E2-B92A-0800200C9A66"},
      {&IID_AutomationDelegate, "9D5E3D3D-42DC-5EFA-2217-EEE2E8E53E2E"},
      {&IID_Controller, "9D5E3E3D-52DC-5EFB-2018-DE1DE2E63F4E"},
      {&IID_Controller_V2, "4C59AA0E-D7C0-4205-8B6C-32468D42D202"},
      {&IID_ViewContainer, "22DA0BBC-D550-4D5E-8CC6-734483B8837F"},
      {&IID_EffectParameters, "964E333D-334C-533F-C2C7-3834C3C23E3E"},
      {&IID_EffectParameters_V2, "F1F47D06-308F-4CC5-9C7C-50A83F8AB813"},
      {&IID_EffectGUI, "964E323D-424C-5E1A-2227-282423222E1E"},
      {&IID_Transport, "5CEE4EF4-6337-4359-B63B-FE58DC36543A"},
      {&IID_Transport_V2, "203CBD9F-982C-4FE6-A827-07480257AEC3"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BytesOf(*c.id), BytesFromText(c.text)) << c.text;
  // Equality looks at all 16 bytes.
  acfUID nearly = IID_Controller;
  nearly.Data4[7] ^= 1;
  EXPECT_FALSE(nearly == IID_Controller);
  EXPECT_TRUE(IID_Controller == IID_Controller);
}

// An object that records its hooks and deletion.
class TrackedObject : public CACFUnknown {
public:
  explicit TrackedObject(std::vector<std::string>& events) : mEvents(events) {}
  ~TrackedObject() override { mEvents.push_back("destroyed"); }
  void PreDestroyHook() override { mEvents.push_back("pre-destroy"); }

private:
  std::vector<std::string>& mEvents;
};

TEST(CACFUnknown, CountsReferencesThroughItsInnerObjectAndDeletesAtZero) {
  std::vector<std::string> events;
  const int32_t liveBefore = CACFUnknown::GetLiveObjectCount();
  auto* object = new TrackedObject(events);
  EXPECT_EQ(CACFUnknown::GetLiveObjectCount(), liveBefore + 1);
  EXPECT_EQ(object->ReferenceCount(), 0);

  void* out = nullptr;
  ASSERT_EQ(object->GetOuter()->QueryInterface(IID_IACFUnknown, &out), ACF_OK);
  ASSERT_EQ(out, object->GetOuter()); // the controlling object answers for the owner
  EXPECT_EQ(object->ReferenceCount(), 1);
  auto* unknown = static_cast<IACFUnknown*>(out);
  EXPECT_EQ(unknown->AddRef(), 2u);
  EXPECT_EQ(unknown->Release(), 1u);
  EXPECT_TRUE(events.empty());

  EXPECT_EQ(unknown->Release(), 0u);
  EXPECT_EQ(events, (std::vector<std::string>{"pre-destroy", "destroyed"}));
  EXPECT_EQ(CACFUnknown::GetLiveObjectCount(), liveBefore);
}

TEST(CACFUnknown, RefusesUnknownInterfacesWithNullAndTheNotSupportedCode) {
  std::vector<std::string> events;
  auto* object = new TrackedObject(events);
  object->InternalAddRef();
  void* out = reinterpret_cast<void*>(0x1);
  EXPECT_EQ(object->InternalQueryInterface(IID_Controller, &out), ACFRESULT(0x80000004u));
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(object->ReferenceCount(), 1);
  object->InternalRelease();
  EXPECT_EQ(events.back(), "destroyed");
}

TEST(AAX_CString, ConstructsComparesAndCutsLikeBytewiseText) {
  EXPECT_STREQ(AAX_CString(static_cast<const char*>(nullptr)).Get(), "");
  EXPECT_EQ(AAX_CString("abc").MaxLength(), 4294967294u);
  AAX_CString text("Gain");
  text.Append(" dB");
  text.Append(nullptr);
  EXPECT_STREQ(text.Get(), "Gain dB");
  EXPECT_EQ(text.Length(), 7u);

  AAX_CString part;
  text.SubString(5, 10, &part);
  EXPECT_STREQ(part.Get(), "dB");
  text.SubString(40, 2, &part);
  EXPECT_STREQ(part.Get(), "");

  const AAX_IString& asInterface = text;
  AAX_CString copy(asInterface);
  EXPECT_TRUE(copy == text);
  copy = "Gain";
  EXPECT_TRUE(copy != text);
  EXPECT_TRUE(copy < text);                         // a prefix sorts first
  EXPECT_TRUE(AAX_CString("B") < AAX_CString("a")); // by bytes, not by letters
  copy.Set(nullptr);
  EXPECT_STREQ(copy.Get(), "");
}

} // namespace
