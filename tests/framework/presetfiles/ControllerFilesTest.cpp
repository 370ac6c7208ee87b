// The controller's preset files: what it writes, byte for byte, assembled here by hand from the
// layouts (or read by Python's readers); round trips of the current state, of every preset and
// of the bank; and every reader refusing a short, foreign or inconsistent file with nothing
// changed - values, host objects, presets, the controller's own state and the host.
#include "framework/Base64.h"
#include "framework/Base64Text.h"
#include "framework/FxpFile.h"
#include "framework/Vst3PresetFile.h"

#include "support/TestController.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

using namespace presetfiles;

// ---- the inner blocks, by hand ----

void LE32(FileBytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b.push_back(uint8_t(v >> (8 * i)));
}

void BE32(FileBytes& b, uint32_t v) {
  for (int i = 3; i >= 0; --i)
    b.push_back(uint8_t(v >> (8 * i)));
}

void F64(FileBytes& b, double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  LE32(b, uint32_t(bits));
  LE32(b, uint32_t(bits >> 32));
}

void Text(FileBytes& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
}

void Header(FileBytes& b) {
  const uint8_t magic[] = {0x74, 0x66, 0x66, 0x70, 0x00, 0x00, 0x02, 0x00};
  b.insert(b.end(), magic, magic + 8);
}

constexpr uint32_t kVersionWord = 0x010203;
constexpr uint32_t kDecimalVersion = 10203;

// Version word, then gain, steps, mode and mute (the meter is read-only and not stored).
FileBytes ProcChunk(double gain, double steps, double mode, double mute) {
  FileBytes b;
  LE32(b, kVersionWord);
  for (double v : {gain, steps, mode, mute})
    F64(b, v);
  return b;
}

FileBytes CtrlChunk(int32_t colour) {
  FileBytes b;
  LE32(b, kVersionWord);
  LE32(b, uint32_t(colour));
  return b;
}

FileBytes ProcBlock(const FileBytes& procChunk) {
  FileBytes b;
  Header(b);
  LE32(b, 0); // bypass word
  b.insert(b.end(), procChunk.begin(), procChunk.end());
  return b;
}

FileBytes CtrlBlock(const FileBytes& ctrlChunk) {
  FileBytes b;
  Header(b);
  b.insert(b.end(), ctrlChunk.begin(), ctrlChunk.end());
  return b;
}

FileBytes Concat(std::initializer_list<FileBytes> parts) {
  FileBytes b;
  for (const FileBytes& p : parts)
    b.insert(b.end(), p.begin(), p.end());
  return b;
}

FileBytes ChunkOf(const KIT_HeapBuf& buf) {
  return FileBytes(buf.Bytes(), buf.Bytes() + buf.GetSize());
}

// The state the tests save: every stored parameter away from its default.
void SetSavedState(TestController& c) {
  c.GetParam(kGain)->Set(-6.5);
  c.GetParam(kSteps)->Set(3);
  c.GetParam(kMode)->Set(2);
  c.GetParam(kMute)->Set(1);
  c.colour = 42;
}
const FileBytes kSavedProc = ProcChunk(-6.5, 3, 2, 1);
const FileBytes kSavedCtrl = CtrlChunk(42);

void SetOtherState(TestController& c) {
  c.GetParam(kGain)->Set(11.0);
  c.GetParam(kSteps)->Set(8);
  c.GetParam(kMode)->Set(0);
  c.GetParam(kMute)->Set(0);
  c.colour = 5;
}

void ExpectSavedState(const TestController& c) {
  EXPECT_EQ(c.Values(), (std::vector<double>{-6.5, 3, 2, 1, 0.0}));
  EXPECT_EQ(c.colour, 42);
}

// ---- the five kinds, as a table ----

struct Kind {
  const char* name;
  const char* extension;
  std::function<bool(TestController&, const char* path)> saveCurrent;
  std::function<bool(TestController&, const char* folder)> savePresets;
  std::function<bool(TestController&, const char* path)> load;
};

const std::vector<Kind>& Kinds() {
  static const std::vector<Kind> kinds = {
      {"fxp", ".fxp",
       [](TestController& c, const char* p) { return c.SaveProgramAsFXP("My Sound", p); },
       [](TestController& c, const char* f) { return c.SavePresetsAsFXPs(f); },
       [](TestController& c, const char* p) { return c.LoadProgramFromFXP(p); }},
      {"vstpreset", ".vstpreset",
       [](TestController& c, const char* p) { return c.SaveProgramAsVST3Preset(p); },
       [](TestController& c, const char* f) { return c.SavePresetsAsVST3Presets(f); },
       [](TestController& c, const char* p) { return c.LoadProgramFromVST3Preset(p); }},
      {"aupreset", ".aupreset",
       [](TestController& c, const char* p) { return c.SaveProgramAsAUPreset("My Sound", p); },
       [](TestController& c, const char* f) { return c.SavePresetsAsAUPresets(f); },
       [](TestController& c, const char* p) { return c.LoadProgramFromAUPreset(p); }},
      {"tfx", ".tfx",
       [](TestController& c, const char* p) { return c.SaveProgramAsTFX("My Sound", p, 3); },
       [](TestController& c, const char* f) { return c.SavePresetsAsTFX(f, 3); },
       [](TestController& c, const char* p) { return c.LoadProgramFromTFX(p); }},
  };
  return kinds;
}

// ---- what is written ----

TEST(ProgramFiles, TheFxpHoldsTheCurrentStateInTheProgramLayout) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsFXP("A name longer than twenty-seven",
                                               dir.File("p.fxp").c_str()));

  FileBytes chunk;
  Header(chunk);
  chunk = Concat({chunk, kSavedProc, kSavedCtrl});
  FileBytes expected;
  Text(expected, "CcnK");
  BE32(expected, uint32_t(52 + chunk.size()));
  Text(expected, "FPCh");
  for (uint32_t v : {1u, uint32_t(kUniqueID), kDecimalVersion, 4u})
    BE32(expected, v);
  Text(expected, "A name longer than twenty-s");
  expected.push_back(0);
  BE32(expected, uint32_t(chunk.size()));
  expected = Concat({expected, chunk});
  EXPECT_EQ(Hex(ReadBytes(dir.File("p.fxp"))), Hex(expected));
}

TEST(ProgramFiles, TheTfxHoldsTheBlocksBehindItsFixedHeader) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsTFX("Tape", dir.File("p.tfx").c_str(), 9));
  const FileBytes proc = ProcBlock(kSavedProc), ctrl = CtrlBlock(kSavedCtrl);
  FileBytes expected;
  for (uint32_t v : {uint32_t(96 + 4 + proc.size() + 4 + ctrl.size()), kDecimalVersion,
                     uint32_t(kMakerID), uint32_t(kUniqueID), 9u, uint32_t(kUniqueID)}) {
    BE32(expected, v);
    LE32(expected, 0);
  }
  Text(expected, "Tape");
  expected.resize(80, 0);
  for (size_t size : {4 + proc.size(), 4 + ctrl.size()}) {
    LE32(expected, uint32_t(size));
    LE32(expected, 0);
  }
  LE32(expected, uint32_t(proc.size()));
  expected = Concat({expected, proc});
  LE32(expected, uint32_t(ctrl.size()));
  expected = Concat({expected, ctrl});
  EXPECT_EQ(Hex(ReadBytes(dir.File("p.tfx"))), Hex(expected));
}

TEST(ProgramFiles, PythonReadsTheVst3PresetAsTheCurrentState) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsVST3Preset(dir.File("p.vstpreset").c_str()));
  const FileBytes proc = ProcBlock(kSavedProc), ctrl = CtrlBlock(kSavedCtrl);
  const std::string info = Vst3PresetInfoXml("Orvane Preset Files", "Fx|EQ");
  const size_t contAt = 48 + 4 + proc.size(), infoAt = contAt + 4 + ctrl.size();
  const size_t listAt = infoAt + info.size();
  EXPECT_EQ(DescribeWithPython("vstpreset", dir.File("p.vstpreset")),
            "header: VST3 1 5A1B2C3D4E5F60718293A4B5C6D7E8F9 " + std::to_string(listAt) + "\n" +
                "list: List Comp@48+" + std::to_string(4 + proc.size()) + " Cont@" +
                std::to_string(contAt) + "+" + std::to_string(4 + ctrl.size()) + " Info@" +
                std::to_string(infoAt) + "+" + std::to_string(info.size()) + "\n" +
                "Comp: " + std::to_string(proc.size()) + " " + Hex(proc) + "\n" +
                "Cont: " + std::to_string(ctrl.size()) + " " + Hex(ctrl) + "\n" +
                "Info: MetaInfo MediaType=VstPreset[string,writeProtected] "
                "plugname=Orvane Preset Files[string,] plugtype=Fx|EQ[string,]\n");
}

FileBytes LengthPrefixed(const FileBytes& block) {
  FileBytes b;
  LE32(b, uint32_t(block.size()));
  return Concat({b, block});
}

TEST(ProgramFiles, PlistlibReadsTheAuPresetAsTheCurrentState) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsAUPreset("Tape & Co", dir.File("p.aupreset").c_str()));
  EXPECT_EQ(DescribeWithPython("aupreset", dir.File("p.aupreset")),
            "keys: Controller State|Processor State|data|element-name|manufacturer|name|"
            "subtype|type|version\n"
            "Controller State: data " +
                Hex(LengthPrefixed(CtrlBlock(kSavedCtrl))) + "\n" + "Processor State: data " +
                Hex(LengthPrefixed(ProcBlock(kSavedProc))) + "\n" +
                "data: data \n"
                "element-name: dict 2=(dict 0=(str Output 1))\n"
                "manufacturer: int " +
                std::to_string(kMakerID) + "\n" +
                "name: str Tape & Co\n"
                "subtype: int " +
                std::to_string(kUniqueID) + "\n" +
                "type: int 1635083896\n"
                "version: int 0\n"
                "lines: ok\n");
}

// Slot by slot: name length, name, initialised byte, the chunks of an initialised slot.
FileBytes BankOf(const TestController& c) {
  FileBytes b;
  for (int i = 0; i < c.NPresets(); ++i) {
    const IPreset* p = c.GetPreset(i);
    LE32(b, uint32_t(std::strlen(p->name)));
    Text(b, p->name);
    b.push_back(p->initialized ? 1 : 0);
    if (p->initialized)
      b = Concat({b, ChunkOf(p->procChunk), ChunkOf(p->ctrlChunk)});
  }
  return b;
}

TEST(BankFiles, TheFxbHoldsEverySlotInTheBankLayout) {
  Rig rig;
  TempDir dir;
  ASSERT_TRUE(rig.controller->RestorePreset(1));
  ASSERT_TRUE(rig.controller->SaveBankAsFXB(dir.File("b.fxb").c_str()));
  FileBytes chunk;
  Header(chunk);
  chunk = Concat({chunk, BankOf(*rig.controller)});
  FileBytes expected;
  Text(expected, "CcnK");
  BE32(expected, uint32_t(152 + chunk.size()));
  Text(expected, "FBCh");
  for (uint32_t v : {2u, uint32_t(kUniqueID), kDecimalVersion, uint32_t(kNPresets), 1u})
    BE32(expected, v);
  expected.resize(expected.size() + 124, 0);
  BE32(expected, uint32_t(chunk.size()));
  expected = Concat({expected, chunk});
  EXPECT_EQ(Hex(ReadBytes(dir.File("b.fxb"))), Hex(expected));
  // The empty fourth slot is its name and a zero byte.
  const std::string tail = Hex(FileBytes{5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0});
  EXPECT_EQ(Hex(expected).substr(Hex(expected).size() - tail.size()), tail);
}

// ---- round trips ----

TEST(RoundTrips, EveryKindBringsBackTheSavedStateAndTellsTheHost) {
  for (const Kind& kind : Kinds()) {
    Rig rig;
    TempDir dir;
    const std::string path = dir.File(std::string("p") + kind.extension);
    SetSavedState(*rig.controller);
    ASSERT_TRUE(kind.saveCurrent(*rig.controller, path.c_str())) << kind.name;
    SetOtherState(*rig.controller);
    rig.handler->calls.clear();
    const int restored = rig.controller->statesRestored;
    ASSERT_TRUE(kind.load(*rig.controller, path.c_str())) << kind.name;
    ExpectSavedState(*rig.controller);
    EXPECT_EQ(rig.controller->statesRestored, restored + 1) << kind.name;
    const auto& calls = rig.handler->calls;
    ASSERT_FALSE(calls.empty()) << kind.name;
    EXPECT_EQ(calls.front(), "group") << kind.name;
    EXPECT_EQ(calls[2], "perform 0 0.486111") << kind.name; // -6.5 dB of -24..12
    EXPECT_EQ(calls.back(), "endgroup") << kind.name;
    EXPECT_DOUBLE_EQ(rig.controller->getParameterObject(kGain)->getNormalized(), 17.5 / 36.0);
    EXPECT_EQ(dir.Entries().size(), 1u) << kind.name;
  }
}

TEST(RoundTrips, AProgramFileRenamesAndRecapturesTheCurrentPreset) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsFXP("My Sound", dir.File("p.fxp").c_str()));
  ASSERT_TRUE(rig.controller->RestorePreset(2));
  ASSERT_TRUE(rig.controller->LoadProgramFromFXP(dir.File("p.fxp").c_str()));
  ExpectSavedState(*rig.controller);
  EXPECT_EQ(rig.controller->GetCurrentPresetIdx(), 2);
  EXPECT_STREQ(rig.controller->GetPresetName(2), "My Sound");
  EXPECT_EQ(ChunkOf(rig.controller->GetPreset(2)->procChunk), kSavedProc);
  EXPECT_EQ(ChunkOf(rig.controller->GetPreset(2)->ctrlChunk), kSavedCtrl);
}

TEST(RoundTrips, AProgramFileReachesTheHostWithoutAnyPresetSlot) {
  Rig rig(0);
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsFXP("My Sound", dir.File("p.fxp").c_str()));
  SetOtherState(*rig.controller);
  rig.handler->calls.clear();
  ASSERT_TRUE(rig.controller->LoadProgramFromFXP(dir.File("p.fxp").c_str()));
  ExpectSavedState(*rig.controller);
  ASSERT_FALSE(rig.handler->calls.empty());
  EXPECT_EQ(rig.handler->calls[2], "perform 0 0.486111");
}

TEST(RoundTrips, EveryPresetGoesToItsOwnFileAndComesBack) {
  for (const Kind& kind : Kinds()) {
    Rig source(3);
    TempDir dir;
    ASSERT_TRUE(kind.savePresets(*source.controller, dir.path().c_str())) << kind.name;
    const std::string ext = kind.extension;
    EXPECT_EQ(dir.Entries(),
              (std::vector<std::string>{"Flat" + ext, "Loud" + ext, "Warm Tape" + ext}))
        << kind.name;
    for (int i = 0; i < 3; ++i) {
      Rig target(3);
      SetOtherState(*target.controller);
      const IPreset* preset = source.controller->GetPreset(i);
      ASSERT_TRUE(kind.load(*target.controller, dir.File(preset->name + ext).c_str()))
          << kind.name << " " << preset->name;
      ASSERT_TRUE(source.controller->RestorePreset(i));
      EXPECT_EQ(target.controller->Values(), source.controller->Values()) << kind.name << " " << i;
      EXPECT_EQ(target.controller->colour, source.controller->colour);
    }
  }
}

TEST(RoundTrips, FolderWritersWriteNothingWhenAPresetIsEmpty) {
  for (const Kind& kind : Kinds()) {
    Rig rig; // the fourth slot is empty
    TempDir dir;
    EXPECT_FALSE(kind.savePresets(*rig.controller, dir.path().c_str())) << kind.name;
    EXPECT_TRUE(dir.Entries().empty()) << kind.name;
  }
}

TEST(RoundTrips, FolderWritersWriteNothingWhenTwoPresetsShareAName) {
  for (const Kind& kind : Kinds()) {
    Rig rig(3);
    TempDir dir;
    ASSERT_TRUE(rig.controller->RestorePreset(2));
    ASSERT_TRUE(rig.controller->ModifyCurrentPreset("Flat"));
    EXPECT_FALSE(kind.savePresets(*rig.controller, dir.path().c_str())) << kind.name;
    EXPECT_TRUE(dir.Entries().empty()) << kind.name;
  }
}

TEST(RoundTrips, APresetNamedLikeAPathStaysInTheFolder) {
  Rig rig(3);
  TempDir dir;
  ASSERT_TRUE(rig.controller->RestorePreset(0));
  ASSERT_TRUE(rig.controller->ModifyCurrentPreset("../escape"));
  ASSERT_TRUE(rig.controller->SavePresetsAsTFX(dir.path().c_str(), 0));
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{".._escape.tfx", "Loud.tfx", "Warm Tape.tfx"}));
}

TEST(RoundTrips, TheBankComesBackSlotBySlotAndTheHostHearsOfIt) {
  Rig source;
  TempDir dir;
  ASSERT_TRUE(source.controller->RestorePreset(1));
  source.controller->GetParam(kGain)->Set(2.25);
  source.controller->colour = 99;
  ASSERT_TRUE(source.controller->ModifyCurrentPreset("Renamed"));
  ASSERT_TRUE(source.controller->SaveBankAsFXB(dir.File("b.fxb").c_str()));

  Rig target;
  ASSERT_TRUE(target.controller->RestorePreset(2));
  target.handler->calls.clear();
  ASSERT_TRUE(target.controller->LoadBankFromFXB(dir.File("b.fxb").c_str()));
  EXPECT_EQ(Hex(BankOf(*target.controller)), Hex(BankOf(*source.controller)));
  // The target's own current preset is restored from the bank.
  EXPECT_EQ(target.controller->GetCurrentPresetIdx(), 2);
  EXPECT_DOUBLE_EQ(target.controller->GetParam(kGain)->Value(), 9.25);
  EXPECT_EQ(target.handler->calls.back(), "programlist 65537 2");
}

// ---- refusals ----

// Every file a kind writes, cut at every offset, and then the inconsistent ones the cuts do
// not reach.
TEST(Refusals, EveryTruncationOfEveryKindChangesNothing) {
  struct Written {
    std::string name;
    FileBytes bytes;
    std::function<bool(TestController&, const char*)> load;
  };
  std::vector<Written> files;
  {
    Rig rig;
    TempDir dir;
    SetSavedState(*rig.controller);
    for (const Kind& kind : Kinds()) {
      const std::string path = dir.File(std::string("p") + kind.extension);
      ASSERT_TRUE(kind.saveCurrent(*rig.controller, path.c_str()));
      files.push_back({kind.name, ReadBytes(path), kind.load});
    }
    ASSERT_TRUE(rig.controller->SaveBankAsFXB(dir.File("b.fxb").c_str()));
    files.push_back({"fxb", ReadBytes(dir.File("b.fxb")),
                     [](TestController& c, const char* p) { return c.LoadBankFromFXB(p); }});
  }
  Rig rig;
  TempDir dir;
  ASSERT_TRUE(rig.controller->RestorePreset(2));
  SetOtherState(*rig.controller);
  const Snapshot before = TakeSnapshot(rig);
  const std::string path = dir.File("cut");
  for (const Written& file : files) {
    size_t end = file.bytes.size();
    if (file.name == "aupreset") // whitespace after the list is not part of it
      end = std::string(file.bytes.begin(), file.bytes.end()).rfind("</plist>") + 8;
    for (size_t n = 0; n < end; ++n) {
      WriteBytes(path, FileBytes(file.bytes.begin(), file.bytes.begin() + ptrdiff_t(n)));
      ASSERT_FALSE(file.load(*rig.controller, path.c_str())) << file.name << " cut at " << n;
      ASSERT_TRUE(TakeSnapshot(rig) == before) << file.name << " cut at " << n;
    }
  }
}

// Files whose outer layout is sound but whose inner blocks do not fit this controller.
TEST(Refusals, InconsistentInnerBlocksChangeNothing) {
  FileBytes header;
  Header(header);
  FileBytes nanProc = ProcChunk(0, 4, 0, 0);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::memcpy(nanProc.data() + 4, &nan, 8);
  auto fxp = [](const FileBytes& chunk, int numParams, int32_t id = kUniqueID) {
    FxpProgramFile p;
    p.uniqueID = id;
    p.numParams = numParams;
    p.chunk = chunk;
    return WriteFxpProgram(p);
  };
  const FileBytes good = Concat({header, kSavedProc, kSavedCtrl});
  const FileBytes shortCtrl(kSavedCtrl.begin(), kSavedCtrl.end() - 4); // the version word only
  FileBytes noHeader = good;
  noHeader[0] ^= 1;
  FileBytes otherFrameworkVersion = good;
  otherFrameworkVersion[6] = 3;

  const struct {
    const char* what;
    FileBytes file;
  } fxps[] = {
      {"the stored parameter count differs", fxp(good, 5)},
      {"another plug-in", fxp(good, 4, kUniqueID + 1)},
      {"one byte more than the controller reads", fxp(Concat({good, FileBytes{0}}), 4)},
      {"the controller's own word is missing", fxp(Concat({header, kSavedProc, shortCtrl}), 4)},
      {"no framework header", fxp(noHeader, 4)},
      {"another framework version", fxp(otherFrameworkVersion, 4)},
      {"a value that is not a number", fxp(Concat({header, nanProc, kSavedCtrl}), 4)},
  };
  Rig rig;
  TempDir dir;
  // The good one loads, so that the bad ones are refused for their fault alone.
  WriteBytes(dir.File("good.fxp"), fxp(good, 4));
  ASSERT_TRUE(rig.controller->LoadProgramFromFXP(dir.File("good.fxp").c_str()));
  SetOtherState(*rig.controller);
  const Snapshot before = TakeSnapshot(rig);
  for (const auto& c : fxps) {
    WriteBytes(dir.File("bad.fxp"), c.file);
    EXPECT_FALSE(rig.controller->LoadProgramFromFXP(dir.File("bad.fxp").c_str())) << c.what;
    EXPECT_TRUE(TakeSnapshot(rig) == before) << c.what;
  }
}

TEST(Refusals, BanksThatDoNotFitTheSlotsChangeNothing) {
  Rig rig;
  TempDir dir;
  FileBytes header;
  Header(header);
  const FileBytes bank = BankOf(*rig.controller);
  auto fxb = [](const FileBytes& chunk, int numPrograms) {
    FxbBankFile b;
    b.uniqueID = kUniqueID;
    b.numPrograms = numPrograms;
    b.chunk = chunk;
    return WriteFxbBank(b);
  };
  // The first three slots only: the bank as the controller writes it, less the fourth slot.
  const FileBytes threeSlots(bank.begin(), bank.end() - 10);
  FileBytes nameTooLong = bank;
  nameTooLong[0] = 200;
  FileBytes negativeName = bank;
  negativeName[3] = 0x80;
  const struct {
    const char* what;
    FileBytes file;
  } cases[] = {
      {"one byte after the last slot", fxb(Concat({header, bank, FileBytes{0}}), kNPresets)},
      {"a slot short", fxb(Concat({header, threeSlots}), kNPresets)},
      {"a name running past the bank", fxb(Concat({header, nameTooLong}), kNPresets)},
      {"a negative name length", fxb(Concat({header, negativeName}), kNPresets)},
      {"no framework header", fxb(bank, kNPresets)},
  };
  WriteBytes(dir.File("good.fxb"), fxb(Concat({header, bank}), kNPresets));
  ASSERT_TRUE(rig.controller->LoadBankFromFXB(dir.File("good.fxb").c_str()));
  ASSERT_TRUE(rig.controller->RestorePreset(1));
  ASSERT_TRUE(rig.controller->ModifyCurrentPreset("Changed"));
  SetOtherState(*rig.controller);
  const Snapshot before = TakeSnapshot(rig);
  for (const auto& c : cases) {
    WriteBytes(dir.File("bad.fxb"), c.file);
    EXPECT_FALSE(rig.controller->LoadBankFromFXB(dir.File("bad.fxb").c_str())) << c.what;
    EXPECT_TRUE(TakeSnapshot(rig) == before) << c.what;
  }
}

TEST(Refusals, ForeignFilesChangeNothing) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  for (const Kind& kind : Kinds())
    ASSERT_TRUE(
        kind.saveCurrent(*rig.controller, dir.File(std::string("p") + kind.extension).c_str()));
  ASSERT_TRUE(rig.controller->SaveBankAsFXB(dir.File("p.fxb").c_str()));
  SetOtherState(*rig.controller);
  const Snapshot before = TakeSnapshot(rig);

  auto patched = [&](const char* file, size_t offset, std::vector<uint8_t> bytes) {
    FileBytes b = ReadBytes(dir.File(file));
    std::copy(bytes.begin(), bytes.end(), b.begin() + ptrdiff_t(offset));
    WriteBytes(dir.File("bad"), b);
    return dir.File("bad");
  };
  auto replaced = [&](const char* file, const std::string& from, const std::string& to) {
    const std::string text = ReadText(dir.File(file));
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    std::string bad = text;
    bad.replace(at, from.size(), to);
    WriteBytes(dir.File("bad"), FileBytes(bad.begin(), bad.end()));
    return dir.File("bad");
  };
  TestController& c = *rig.controller;
  const struct {
    const char* what;
    std::function<bool()> load;
  } cases[] = {
      {"fxp of another plug-in",
       [&] { return c.LoadProgramFromFXP(patched("p.fxp", 19, {0}).c_str()); }},
      {"fxp of format version 2",
       [&] { return c.LoadProgramFromFXP(patched("p.fxp", 15, {2}).c_str()); }},
      {"fxb of another plug-in",
       [&] { return c.LoadBankFromFXB(patched("p.fxb", 16, {1}).c_str()); }},
      {"fxb of another slot count",
       [&] { return c.LoadBankFromFXB(patched("p.fxb", 27, {5}).c_str()); }},
      {"a program file as a bank", [&] { return c.LoadBankFromFXB(dir.File("p.fxp").c_str()); }},
      {"vstpreset of another processor",
       [&] { return c.LoadProgramFromVST3Preset(patched("p.vstpreset", 39, {'8'}).c_str()); }},
      {"vstpreset of a processor whose ID differs in its first digit",
       [&] { return c.LoadProgramFromVST3Preset(patched("p.vstpreset", 8, {'6'}).c_str()); }},
      {"aupreset of another maker",
       [&] {
         return c.LoadProgramFromAUPreset(
             replaced("p.aupreset", std::to_string(kMakerID), std::to_string(kMakerID + 1))
                 .c_str());
       }},
      {"aupreset of another plug-in",
       [&] {
         return c.LoadProgramFromAUPreset(
             replaced("p.aupreset", std::to_string(kUniqueID), std::to_string(kUniqueID - 1))
                 .c_str());
       }},
      {"tfx of another maker",
       [&] { return c.LoadProgramFromTFX(patched("p.tfx", 19, {0}).c_str()); }},
      {"tfx of another plug-in",
       [&] { return c.LoadProgramFromTFX(patched("p.tfx", 27, {0}).c_str()); }},
      {"tfx whose second ID differs",
       [&] { return c.LoadProgramFromTFX(patched("p.tfx", 43, {0}).c_str()); }},
      {"a vstpreset as a tfx",
       [&] { return c.LoadProgramFromTFX(dir.File("p.vstpreset").c_str()); }},
  };
  for (const auto& k : cases) {
    EXPECT_FALSE(k.load()) << k.what;
    EXPECT_TRUE(TakeSnapshot(rig) == before) << k.what;
  }
}

TEST(Refusals, AVst3PresetClassIDIsReadInEitherCase) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  ASSERT_TRUE(rig.controller->SaveProgramAsVST3Preset(dir.File("p.vstpreset").c_str()));
  FileBytes b = ReadBytes(dir.File("p.vstpreset"));
  for (size_t i = 8; i < 40; ++i)
    b[i] = uint8_t(std::tolower(b[i]));
  WriteBytes(dir.File("p.vstpreset"), b);
  SetOtherState(*rig.controller);
  ASSERT_TRUE(rig.controller->LoadProgramFromVST3Preset(dir.File("p.vstpreset").c_str()));
  ExpectSavedState(*rig.controller);
}

TEST(Refusals, APresetFileLeavesTheHostsBypassAlone) {
  Rig rig;
  TempDir dir;
  ASSERT_TRUE(rig.controller->SaveProgramAsTFX("x", dir.File("p.tfx").c_str(), 0));
  rig.controller->setParamNormalized(0x10000, 1.0);
  ASSERT_TRUE(rig.controller->GetBypassed());
  ASSERT_TRUE(rig.controller->LoadProgramFromTFX(dir.File("p.tfx").c_str()));
  EXPECT_TRUE(rig.controller->GetBypassed());
}

TEST(Refusals, NullAndUnreachablePathsFail) {
  Rig rig(3);
  TempDir dir;
  const std::string missing = dir.File("no/such");
  TestController& c = *rig.controller;
  for (const Kind& kind : Kinds()) {
    EXPECT_FALSE(kind.saveCurrent(c, nullptr)) << kind.name;
    EXPECT_FALSE(kind.savePresets(c, nullptr)) << kind.name;
    EXPECT_FALSE(kind.load(c, nullptr)) << kind.name;
    EXPECT_FALSE(kind.saveCurrent(c, missing.c_str())) << kind.name;
    EXPECT_FALSE(kind.savePresets(c, missing.c_str())) << kind.name;
    EXPECT_FALSE(kind.load(c, missing.c_str())) << kind.name;
    EXPECT_FALSE(kind.load(c, dir.path().c_str())) << kind.name;
  }
  EXPECT_FALSE(c.SaveBankAsFXB(nullptr));
  EXPECT_FALSE(c.LoadBankFromFXB(nullptr));
  EXPECT_FALSE(c.SaveBankAsFXB(missing.c_str()));
  EXPECT_FALSE(c.DumpPresetBlob(nullptr));
  EXPECT_FALSE(c.DumpBankBlob(missing.c_str()));
  const char* names[] = {"kGain", "kSteps", "kMode", "kMute", "kMeter"};
  EXPECT_FALSE(c.DumpPresetSrcCode(nullptr, names));
  EXPECT_FALSE(c.DumpPresetSrcCode(dir.File("x").c_str(), nullptr));
  const char* oneMissing[] = {"kGain", "kSteps", nullptr, "kMute", "kMeter"};
  EXPECT_FALSE(c.DumpPresetSrcCode(dir.File("x").c_str(), oneMissing));
  EXPECT_TRUE(dir.Entries().empty());
}

// ---- source dumps ----

TEST(SourceDumps, TheNamedParameterCallPrintsEveryParameterByKind) {
  Rig rig;
  TempDir dir;
  SetSavedState(*rig.controller);
  rig.controller->GetParam(kMeter)->Set(0.25);
  const char* names[] = {"kGain", "kSteps", "kMode", "kMute", "kMeter"};
  ASSERT_TRUE(rig.controller->DumpPresetSrcCode(dir.File("src.txt").c_str(), names));
  EXPECT_EQ(ReadText(dir.File("src.txt")), "MakePresetFromNamedParams(\"name\", 5,\n"
                                           "  kGain, -6.500000,\n"
                                           "  kSteps, 3,\n"
                                           "  kMode, 2,\n"
                                           "  kMute, true,\n"
                                           "  kMeter, 0.250000);\n");
}

// The text between the n-th pair of quotes on a line (n from 0).
std::string Quoted(const std::string& line, int n) {
  size_t open = line.find('"');
  for (int i = 0; i < n; ++i)
    open = line.find('"', line.find('"', open + 1) + 1);
  const size_t close = line.find('"', open + 1);
  return line.substr(open + 1, close - open - 1);
}

TEST(SourceDumps, BlobLinesRebuildThePresetsTheyWereTakenFrom) {
  Rig rig;
  TempDir dir;
  ASSERT_TRUE(rig.controller->RestorePreset(1));
  ASSERT_TRUE(rig.controller->DumpPresetBlob(dir.File("one.txt").c_str()));
  ASSERT_TRUE(rig.controller->DumpBankBlob(dir.File("bank.txt").c_str()));

  const IPreset* warm = rig.controller->GetPreset(1);
  const FileBytes blob = Concat({ChunkOf(warm->procChunk), ChunkOf(warm->ctrlChunk)});
  const std::string line = ReadText(dir.File("one.txt"));
  EXPECT_EQ(line, "MakePresetFromBlob(\"Warm Tape\", \"" + EncodeBase64(blob.data(), blob.size()) +
                      "\", " + std::to_string(blob.size()) + ", " +
                      std::to_string(warm->procChunk.GetSize()) + ");\n");
  // The factory-blob decoder turns the line back into the preset's chunks.
  FileBytes decoded(blob.size());
  DecodeBase64(Quoted(line, 1).c_str(), decoded.data(), int(decoded.size()));
  EXPECT_EQ(decoded, blob);

  const std::string bank = ReadText(dir.File("bank.txt"));
  std::vector<std::string> lines;
  for (size_t at = 0; at < bank.size();) {
    const size_t end = bank.find('\n', at);
    lines.push_back(bank.substr(at, end - at));
    at = end + 1;
  }
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1] + "\n", line);
  EXPECT_EQ(Quoted(lines[0], 0), "Flat");
  EXPECT_EQ(Quoted(lines[2], 0), "Loud");
  EXPECT_EQ(lines[3], "MakePresetFromBlob(\"empty\", \"\", 0, 0);");

  // A controller made from the lines restores the same values.
  Rig target(kNPresets, false);
  for (int i = 0; i < 3; ++i) {
    const IPreset* p = rig.controller->GetPreset(i);
    const int total = p->procChunk.GetSize() + p->ctrlChunk.GetSize();
    ASSERT_TRUE(target.controller->MakePresetFromBlob(Quoted(lines[size_t(i)], 0).c_str(),
                                                      Quoted(lines[size_t(i)], 1).c_str(), total,
                                                      p->procChunk.GetSize()));
  }
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(rig.controller->RestorePreset(i));
    ASSERT_TRUE(target.controller->RestorePreset(i));
    EXPECT_EQ(target.controller->Values(), rig.controller->Values()) << i;
    EXPECT_STREQ(target.controller->GetPresetName(i), rig.controller->GetPresetName(i));
  }
}

} // namespace
