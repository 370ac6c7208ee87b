// The equaliser's own nine factory presets and bank through every preset file kind: each file
// brings back the preset it was written from, the bank comes back slot by slot, and the blob
// lines print the factory blobs the presets were made from.
#include "Projects/eq/OrvaneEQController.h"
#include "Projects/eq/OrvaneEQFactoryPresets.h"

#include "support/TestController.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace presetfiles;

struct EqRig {
  EqRig() : host(new HostApp), handler(new Handler), controller(new OrvaneEQController) {
    controller->initialize(static_cast<IHostApplication*>(host));
    controller->setComponentHandler(static_cast<IComponentHandler*>(handler));
  }
  ~EqRig() {
    controller->setComponentHandler(nullptr);
    controller->terminate();
    controller->release();
    handler->release();
    host->release();
  }
  EqRig(const EqRig&) = delete;
  EqRig& operator=(const EqRig&) = delete;

  std::vector<double> Values() const {
    std::vector<double> v;
    for (int i = 0; i < controller->NParams(); ++i)
      v.push_back(controller->GetParam(i)->Value());
    return v;
  }

  HostApp* host;
  Handler* handler;
  OrvaneEQController* controller;
};

struct EqKind {
  const char* extension;
  std::function<bool(IFxController&, const char*)> savePresets;
  std::function<bool(IFxController&, const char*)> load;
};

const EqKind kKinds[] = {
    {".fxp", [](IFxController& c, const char* f) { return c.SavePresetsAsFXPs(f); },
     [](IFxController& c, const char* p) { return c.LoadProgramFromFXP(p); }},
    {".vstpreset", [](IFxController& c, const char* f) { return c.SavePresetsAsVST3Presets(f); },
     [](IFxController& c, const char* p) { return c.LoadProgramFromVST3Preset(p); }},
    {".aupreset", [](IFxController& c, const char* f) { return c.SavePresetsAsAUPresets(f); },
     [](IFxController& c, const char* p) { return c.LoadProgramFromAUPreset(p); }},
    {".tfx", [](IFxController& c, const char* f) { return c.SavePresetsAsTFX(f, 2); },
     [](IFxController& c, const char* p) { return c.LoadProgramFromTFX(p); }},
};

TEST(EqPresetFiles, EveryFactoryPresetComesBackFromItsOwnFileOfEveryKind) {
  EqRig source;
  ASSERT_EQ(source.controller->NPresets(), 9);
  for (const EqKind& kind : kKinds) {
    TempDir dir;
    ASSERT_TRUE(kind.savePresets(*source.controller, dir.path().c_str())) << kind.extension;
    ASSERT_EQ(dir.Entries().size(), 9u) << kind.extension;
    for (int i = 0; i < 9; ++i) {
      EqRig target;
      ASSERT_TRUE(target.controller->RestorePreset((i + 4) % 9));
      const std::string name = source.controller->GetPresetName(i);
      ASSERT_TRUE(kind.load(*target.controller, dir.File(name + kind.extension).c_str()))
          << kind.extension << " " << name;
      ASSERT_TRUE(source.controller->RestorePreset(i));
      EXPECT_EQ(target.Values(), source.Values()) << kind.extension << " " << name;
    }
  }
}

// The bank reader captures each slot afresh, with the running version word in place of the
// factory blobs' own, so the slots are compared by name and by what they restore.
TEST(EqPresetFiles, TheBankComesBackSlotBySlot) {
  EqRig source;
  TempDir dir;
  ASSERT_TRUE(source.controller->RestorePreset(5));
  ASSERT_TRUE(source.controller->SaveBankAsFXB(dir.File("eq.fxb").c_str()));

  EqRig target;
  ASSERT_TRUE(target.controller->RestorePreset(3));
  target.controller->GetParam(0)->Set(target.controller->GetParam(0)->Max());
  ASSERT_TRUE(target.controller->ModifyCurrentPreset("Changed"));
  ASSERT_TRUE(target.controller->LoadBankFromFXB(dir.File("eq.fxb").c_str()));
  EXPECT_EQ(target.handler->calls.back(), "programlist 65537 3");
  for (int i = 0; i < 9; ++i) {
    EXPECT_STREQ(target.controller->GetPresetName(i), source.controller->GetPresetName(i));
    ASSERT_TRUE(source.controller->RestorePreset(i));
    ASSERT_TRUE(target.controller->RestorePreset(i));
    EXPECT_EQ(target.Values(), source.Values()) << source.controller->GetPresetName(i);
  }
}

std::string WithoutFill(std::string text) {
  while (!text.empty() && text.back() == '=')
    text.pop_back();
  return text;
}

TEST(EqPresetFiles, BlobLinesPrintTheFactoryBlobs) {
  EqRig rig;
  TempDir dir;
  ASSERT_TRUE(rig.controller->DumpBankBlob(dir.File("bank.txt").c_str()));
  const std::string bank = ReadText(dir.File("bank.txt"));
  std::vector<std::string> lines;
  for (size_t at = 0; at < bank.size();) {
    const size_t end = bank.find('\n', at);
    lines.push_back(bank.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 9u);
  for (int i = 0; i < kNumOrvaneEQFactoryPresets; ++i) {
    const OrvaneEQFactoryPreset& preset = kOrvaneEQFactoryPresets[i];
    const std::string& line = lines[size_t(i + 1)];
    const size_t open = line.find("\", \"") + 4;
    const std::string base64 = line.substr(open, line.find('"', open) - open);
    EXPECT_EQ(line.substr(0, open), "MakePresetFromBlob(\"" + std::string(preset.name) + "\", \"");
    EXPECT_EQ(WithoutFill(base64), WithoutFill(preset.base64)) << preset.name;
    EXPECT_EQ(line.substr(line.find('"', open)), "\", 112, 108);") << preset.name;
  }
}

} // namespace
