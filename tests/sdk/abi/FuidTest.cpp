// Class and interface IDs: the byte order of the four-word form, and the text forms.
#include "pluginterfaces/base/funknown.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Steinberg;

std::string text(const FUID& id) {
  char8 buffer[FUID::kStringSize];
  id.toString(buffer);
  return buffer;
}

// IDs travesty does not carry, spelled as the bytes a Linux host sends (each word big-endian).
struct SpelledId {
  const char* name;
  const FUID& id;
  const char* bytes;
};

TEST(Fuid, InterfacesBeyondTravestyHaveThePublishedBytes) {
  const SpelledId cases[] = {
      {"IComponentHandler3", Vst::IComponentHandler3::iid, "69F11617D26B400DA4B6B9647B6EBBAB"},
      {"IContextMenuTarget", Vst::IContextMenuTarget::iid, "3CDF2E7585D34144BF86D36BD7C4894D"},
      {"IContextMenu", Vst::IContextMenu::iid, "2E93C8630C9C458897DBECF5AD17817D"},
      {"IUnitHandler", Vst::IUnitHandler::iid, "4B5147F84654486B8DAB30BA163A3C56"},
      {"IEditController2", Vst::IEditController2::iid, "7F4EFE59F3204967AC27A3AEAFB63038"},
  };
  for (const auto& c : cases) {
    std::string bytes;
    const auto* raw = reinterpret_cast<const unsigned char*>(&c.id.toTUID()[0]);
    for (int i = 0; i < 16; ++i) {
      char two[3];
      std::snprintf(two, sizeof two, "%02X", raw[i]);
      bytes += two;
    }
    EXPECT_EQ(bytes, c.bytes) << c.name;
  }
}

TEST(Fuid, FourWordsRoundTrip) {
  const FUID id(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A0);
  EXPECT_EQ(id.getLong1(), 0x834D36AAu);
  EXPECT_EQ(id.getLong2(), 0x9E944C5Du);
  EXPECT_EQ(id.getLong3(), 0xA84EE95Bu);
  EXPECT_EQ(id.getLong4(), 0xD4FA43A0u);
  EXPECT_EQ(static_cast<unsigned char>(id.toTUID()[0]), 0x83);
  EXPECT_EQ(static_cast<unsigned char>(id.toTUID()[15]), 0xA0);
  EXPECT_TRUE(id.isValid());
  EXPECT_FALSE(FUID().isValid());

  TUID raw;
  id.toTUID(raw);
  EXPECT_EQ(FUID::fromTUID(raw), id);
  EXPECT_NE(FUID(0x834D36AA, 0x9E944C5D, 0xA84EE95B, 0xD4FA43A1), id);
}

TEST(Fuid, TextForms) {
  const FUID id(0x1887D1AD, 0x82174BDA, 0xB55C9797, 0xDF13213E);
  EXPECT_EQ(text(id), "1887D1AD82174BDAB55C9797DF13213E");

  char8 registry[FUID::kRegistryStringSize];
  id.toRegistryString(registry);
  EXPECT_STREQ(registry, "{1887D1AD-8217-4BDA-B55C-9797DF13213E}");

  FUID parsed;
  EXPECT_TRUE(parsed.fromString("1887d1ad82174bdab55c9797df13213e"));
  EXPECT_EQ(parsed, id);
}

TEST(Fuid, BadTextChangesNothing) {
  FUID id(1, 2, 3, 4);
  EXPECT_FALSE(id.fromString("1887D1AD82174BDAB55C9797DF13213"));  // 31 digits
  EXPECT_FALSE(id.fromString("1887D1AD82174BDAB55C9797DF13213G")); // not hex
  EXPECT_FALSE(id.fromString(nullptr));
  EXPECT_EQ(id, FUID(1, 2, 3, 4));
}

} // namespace
