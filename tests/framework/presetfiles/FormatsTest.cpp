// The preset file formats byte for byte: images assembled by Python from the published layouts
// (oracle/preset_file_images.py) against the writers and readers, Python's plistlib and
// ElementTree reading what we write, and every reader refusing short or inconsistent images.
#include "framework/AuPresetFile.h"
#include "framework/FxpFile.h"
#include "framework/TfxFile.h"
#include "framework/Vst3PresetFile.h"

#include "preset_file_images.inc"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace presetfiles;
using Reader = std::function<bool(const FileBytes&)>;

void ExpectEveryPrefixRefused(const FileBytes& image, const Reader& read, size_t upTo) {
  ASSERT_TRUE(read(image));
  for (size_t n = 0; n < upTo; ++n) {
    const FileBytes prefix(image.begin(), image.begin() + ptrdiff_t(n));
    EXPECT_FALSE(read(prefix)) << "accepted the first " << n << " of " << image.size() << " bytes";
  }
}

struct Patch {
  const char* what;
  size_t offset;
  std::vector<uint8_t> bytes;
};

void ExpectPatchesRefused(const FileBytes& image, const Reader& read,
                          const std::vector<Patch>& patches) {
  for (const Patch& patch : patches) {
    FileBytes bad = image;
    std::copy(patch.bytes.begin(), patch.bytes.end(), bad.begin() + ptrdiff_t(patch.offset));
    EXPECT_FALSE(read(bad)) << patch.what;
  }
}

FileBytes Appended(FileBytes image, uint8_t extra) {
  image.push_back(extra);
  return image;
}

// ---- VST 2.4 program ----

Reader ReadsFxp = [](const FileBytes& b) {
  FxpProgramFile p;
  return ReadFxpProgram(b.data(), b.size(), p);
};

FxpProgramFile OracleProgram(const std::string& name) {
  FxpProgramFile p;
  p.uniqueID = oracle::kUniqueID;
  p.effectVersion = oracle::kVersion;
  p.numParams = 13;
  p.name = name;
  p.chunk = oracle::kFxpChunk;
  return p;
}

TEST(FxpProgramFile, IsWrittenByteForByteWithTheNameCutToTwentySevenBytes) {
  const struct {
    std::string name;
    const FileBytes& image;
  } cases[] = {{"Warm Tape", oracle::kFxpImage},
               {oracle::kFxpLongName, oracle::kFxpLongNameImage},
               {oracle::kFxpUtf8Name, oracle::kFxpUtf8NameImage}};
  for (const auto& c : cases)
    EXPECT_EQ(Hex(WriteFxpProgram(OracleProgram(c.name))), Hex(c.image)) << c.name;
}

TEST(FxpProgramFile, ReadsEveryField) {
  FxpProgramFile p;
  ASSERT_TRUE(
      ReadFxpProgram(oracle::kFxpLongNameImage.data(), oracle::kFxpLongNameImage.size(), p));
  EXPECT_EQ(p.uniqueID, oracle::kUniqueID);
  EXPECT_EQ(p.effectVersion, oracle::kVersion);
  EXPECT_EQ(p.numParams, 13);
  EXPECT_EQ(p.name, oracle::kFxpLongName.substr(0, 27));
  EXPECT_EQ(p.chunk, oracle::kFxpChunk);
}

TEST(FxpProgramFile, RefusesShortLongAndInconsistentImages) {
  const FileBytes& image = oracle::kFxpImage;
  ExpectEveryPrefixRefused(image, ReadsFxp, image.size());
  EXPECT_FALSE(ReadsFxp(Appended(image, 0)));
  ExpectPatchesRefused(image, ReadsFxp,
                       {{"magic", 0, {'c'}},
                        {"byte size one more", 7, {uint8_t(image[7] + 1)}},
                        {"byte size huge", 4, {0x7F}},
                        {"program kind", 8, {'F', 'x', 'C', 'k'}},
                        {"format version 2", 15, {2}},
                        {"chunk size one less", 59, {uint8_t(image[59] - 1)}},
                        {"chunk size huge", 56, {0xFF}}});
}

// ---- VST 2.4 bank ----

Reader ReadsFxb = [](const FileBytes& b) {
  FxbBankFile bank;
  return ReadFxbBank(b.data(), b.size(), bank);
};

TEST(FxbBankFile, IsWrittenAndReadByteForByte) {
  FxbBankFile bank;
  bank.uniqueID = oracle::kUniqueID;
  bank.effectVersion = oracle::kVersion;
  bank.numPrograms = 9;
  bank.currentProgram = 4;
  bank.chunk = oracle::kFxbChunk;
  EXPECT_EQ(Hex(WriteFxbBank(bank)), Hex(oracle::kFxbImage));

  FxbBankFile read;
  ASSERT_TRUE(ReadFxbBank(oracle::kFxbImage.data(), oracle::kFxbImage.size(), read));
  EXPECT_EQ(read.uniqueID, oracle::kUniqueID);
  EXPECT_EQ(read.effectVersion, oracle::kVersion);
  EXPECT_EQ(read.numPrograms, 9);
  EXPECT_EQ(read.currentProgram, 4);
  EXPECT_EQ(read.chunk, oracle::kFxbChunk);
}

TEST(FxbBankFile, RefusesShortLongAndInconsistentImages) {
  const FileBytes& image = oracle::kFxbImage;
  ExpectEveryPrefixRefused(image, ReadsFxb, image.size());
  EXPECT_FALSE(ReadsFxb(Appended(image, 0)));
  ExpectPatchesRefused(image, ReadsFxb,
                       {{"magic", 3, {'k'}},
                        {"byte size one less", 7, {uint8_t(image[7] - 1)}},
                        {"bank kind", 8, {'F', 'P', 'C', 'h'}},
                        {"chunk size one more", 159, {uint8_t(image[159] + 1)}},
                        {"chunk size huge", 156, {0x80}}});
}

// ---- VST 3 preset ----

Reader ReadsVst3 = [](const FileBytes& b) {
  Vst3PresetFile p;
  return ReadVst3Preset(b.data(), b.size(), p);
};

TEST(Vst3PresetFile, IsWrittenByteForByteWithItsMetaInformation) {
  EXPECT_EQ(Vst3PresetInfoXml("Orvane EQ", "Fx|EQ"), oracle::kVst3Info);
  Vst3PresetFile preset;
  preset.classID = oracle::kVst3ClassID;
  preset.processorState = oracle::kVst3Comp;
  preset.controllerState = oracle::kVst3Cont;
  preset.info = oracle::kVst3Info;
  FileBytes image;
  ASSERT_TRUE(WriteVst3Preset(preset, image));
  EXPECT_EQ(Hex(image), Hex(oracle::kVst3Image));

  preset.classID.pop_back();
  EXPECT_FALSE(WriteVst3Preset(preset, image));
}

TEST(Vst3PresetFile, ReadsTheStatesThroughTheChunkList) {
  Vst3PresetFile p;
  ASSERT_TRUE(ReadVst3Preset(oracle::kVst3Image.data(), oracle::kVst3Image.size(), p));
  EXPECT_EQ(p.classID, oracle::kVst3ClassID);
  EXPECT_EQ(p.processorState, oracle::kVst3Comp);
  EXPECT_EQ(p.controllerState, oracle::kVst3Cont);
  EXPECT_EQ(p.info, oracle::kVst3Info);
}

// Hosts may order the list otherwise and add chunks of their own; the list is what counts.
TEST(Vst3PresetFile, FollowsTheListWhateverItsOrder) {
  const FileBytes& src = oracle::kVst3Image;
  const size_t compAt = 48, contAt = compAt + 4 + oracle::kVst3Comp.size();
  FileBytes image(src.begin(), src.begin() + ptrdiff_t(contAt + 4 + oracle::kVst3Cont.size()));
  const FileBytes extra = {'h', 'o', 's', 't'};
  const size_t extraAt = image.size();
  PutBytes(image, extra.data(), extra.size());
  const size_t listAt = image.size();
  for (int i = 0; i < 8; ++i)
    image[40 + size_t(i)] = uint8_t(listAt >> (8 * i));
  PutFourCC(image, "List");
  PutLE32(image, 3);
  PutFourCC(image, "Prog");
  PutLE64(image, extraAt);
  PutLE64(image, extra.size());
  PutFourCC(image, "Cont");
  PutLE64(image, contAt);
  PutLE64(image, 4 + oracle::kVst3Cont.size());
  PutFourCC(image, "Comp");
  PutLE64(image, compAt);
  PutLE64(image, 4 + oracle::kVst3Comp.size());

  Vst3PresetFile p;
  ASSERT_TRUE(ReadVst3Preset(image.data(), image.size(), p));
  EXPECT_EQ(p.processorState, oracle::kVst3Comp);
  EXPECT_EQ(p.controllerState, oracle::kVst3Cont);
  EXPECT_EQ(p.info, "");
}

TEST(Vst3PresetFile, RefusesShortAndInconsistentImages) {
  const FileBytes& image = oracle::kVst3Image;
  ExpectEveryPrefixRefused(image, ReadsVst3, image.size());
  const size_t listAt = image.size() - 8 - 3 * 20;
  const size_t compEntry = listAt + 8, contEntry = compEntry + 20;
  ExpectPatchesRefused(
      image, ReadsVst3,
      {{"magic", 0, {'V', 'S', 'T', '2'}},
       {"class ID not hexadecimal", 8, {'G'}},
       {"list offset past the end", 47, {0x01}},
       {"list offset inside the header", 40, {0x10, 0, 0}},
       {"list offset off by one", 40, {uint8_t(listAt + 1)}},
       {"list magic", listAt, {'L', 'i', 's', 'x'}},
       {"count beyond the entries", listAt + 4, {4}},
       {"count negative", listAt + 7, {0x80}},
       {"no processor state", compEntry, {'C', 'o', 'm', 'x'}},
       {"no controller state", contEntry, {'C', 'o', 'n', 'x'}},
       {"processor state longer than its entry", 48, {uint8_t(oracle::kVst3Comp.size() + 1)}},
       {"entry size beyond its length",
        compEntry + 12,
        {uint8_t(4 + oracle::kVst3Comp.size() + 1)}},
       {"entry past the list", contEntry + 4 + 7, {0x40}},
       {"entry offset inside the header", compEntry + 4, {8}}});
}

TEST(Vst3PresetFile, MetaInformationIsEscapedForXmlParsers) {
  TempDir dir;
  Vst3PresetFile preset;
  preset.classID = oracle::kVst3ClassID;
  preset.processorState = {1, 2};
  preset.controllerState = {3};
  preset.info = Vst3PresetInfoXml("A&B \"Q\" <x>", "Fx|Dynamics");
  FileBytes image;
  ASSERT_TRUE(WriteVst3Preset(preset, image));
  WriteBytes(dir.File("p.vstpreset"), image);
  EXPECT_EQ(DescribeWithPython("vstpreset", dir.File("p.vstpreset")),
            "header: VST3 1 5A1B2C3D4E5F60718293A4B5C6D7E8F9 " +
                std::to_string(48 + 6 + 5 + preset.info.size()) +
                "\n"
                "list: List Comp@48+6 Cont@54+5 Info@59+" +
                std::to_string(preset.info.size()) +
                "\n"
                "Comp: 2 0102\n"
                "Cont: 1 03\n"
                "Info: MetaInfo MediaType=VstPreset[string,writeProtected] "
                "plugname=A&B \"Q\" <x>[string,] plugtype=Fx|Dynamics[string,]\n");
}

// ---- .tfx ----

Reader ReadsTfx = [](const FileBytes& b) {
  TfxFile p;
  return ReadTfx(b.data(), b.size(), p);
};

TfxFile OracleTfx(const std::string& name) {
  TfxFile p;
  p.effectVersion = oracle::kVersion;
  p.makerID = oracle::kMakerID;
  p.uniqueID = oracle::kUniqueID;
  p.category = 7;
  p.name = name;
  p.processorState = oracle::kVst3Comp;
  p.controllerState = oracle::kVst3Cont;
  return p;
}

TEST(TfxFile, IsWrittenAndReadByteForByte) {
  EXPECT_EQ(Hex(WriteTfx(OracleTfx("Warm Tape"))), Hex(oracle::kTfxImage));
  EXPECT_EQ(Hex(WriteTfx(OracleTfx(oracle::kTfxLongName))), Hex(oracle::kTfxLongNameImage));

  TfxFile p;
  ASSERT_TRUE(ReadTfx(oracle::kTfxLongNameImage.data(), oracle::kTfxLongNameImage.size(), p));
  EXPECT_EQ(p.effectVersion, oracle::kVersion);
  EXPECT_EQ(p.makerID, oracle::kMakerID);
  EXPECT_EQ(p.uniqueID, oracle::kUniqueID);
  EXPECT_EQ(p.uniqueID2, oracle::kUniqueID);
  EXPECT_EQ(p.category, 7);
  EXPECT_EQ(p.name, oracle::kTfxLongName.substr(0, 31));
  EXPECT_EQ(p.processorState, oracle::kVst3Comp);
  EXPECT_EQ(p.controllerState, oracle::kVst3Cont);
}

TEST(TfxFile, RefusesShortLongAndInconsistentImages) {
  const FileBytes& image = oracle::kTfxImage;
  ExpectEveryPrefixRefused(image, ReadsTfx, image.size());
  EXPECT_FALSE(ReadsTfx(Appended(image, 0)));
  const uint8_t block1 = uint8_t(4 + oracle::kVst3Comp.size());
  ExpectPatchesRefused(
      image, ReadsTfx,
      {{"total size one more", 3, {uint8_t(image[3] + 1)}},
       {"first block one longer", 80, {uint8_t(block1 + 1)}},
       {"first block huge", 87, {0x80}},
       {"second block one shorter", 88, {uint8_t(4 + oracle::kVst3Cont.size() - 1)}},
       {"processor state length", 96, {uint8_t(block1)}},
       {"controller state length", size_t(96 + block1), {0}}});
}

// ---- Audio Unit preset ----

Reader ReadsAu = [](const FileBytes& b) {
  AuPresetFile p;
  return ReadAuPreset(reinterpret_cast<const char*>(b.data()), b.size(), p);
};

std::string LengthPrefixedHex(const FileBytes& state) {
  FileBytes b;
  PutLengthPrefixed(b, state.data(), state.size());
  return Hex(b);
}

TEST(AuPresetFile, PlistlibReadsEveryEntryInOrderWithSixtyEightCharacterLines) {
  // 20,000 bytes of state are far more Base64 than the 16,383 characters a fixed buffer held.
  for (size_t stateSize : {size_t(0), size_t(47), size_t(300), size_t(20000)}) {
    TempDir dir;
    AuPresetFile preset;
    preset.controllerState = oracle::kVst3Cont;
    preset.processorState.resize(stateSize);
    for (size_t i = 0; i < stateSize; ++i)
      preset.processorState[i] = uint8_t(i * 31 + 5);
    preset.manufacturer = oracle::kMakerID;
    preset.subtype = oracle::kUniqueID;
    preset.type = AuPresetFile::kTypeInstrument;
    preset.name = "Caf\xC3\xA9 & <Bar>";
    const std::string text = WriteAuPreset(preset);
    WriteBytes(dir.File("p.aupreset"), FileBytes(text.begin(), text.end()));
    EXPECT_EQ(DescribeWithPython("aupreset", dir.File("p.aupreset")),
              "keys: Controller State|Processor State|data|element-name|manufacturer|name|"
              "subtype|type|version\n"
              "Controller State: data " +
                  LengthPrefixedHex(preset.controllerState) + "\n" + "Processor State: data " +
                  LengthPrefixedHex(preset.processorState) + "\n" +
                  "data: data \n"
                  "element-name: dict 2=(dict 0=(str Output 1))\n"
                  "manufacturer: int 1364086091\n"
                  "name: str Caf\xC3\xA9 & <Bar>\n"
                  "subtype: int 1870024774\n"
                  "type: int 1635085685\n"
                  "version: int 0\n"
                  "lines: ok\n")
        << stateSize;
  }
}

TEST(AuPresetFile, ReadsWhatPlistlibWrites) {
  const std::string& text = oracle::kAuByPlistlib;
  AuPresetFile p;
  ASSERT_TRUE(ReadAuPreset(text.data(), text.size(), p));
  EXPECT_EQ(p.processorState, oracle::kAuBigState);
  EXPECT_EQ(p.controllerState, oracle::kVst3Cont);
  EXPECT_TRUE(AuCodeMatches(p.manufacturer, oracle::kMakerID));
  EXPECT_TRUE(AuCodeMatches(p.subtype, oracle::kUniqueID));
  EXPECT_EQ(p.type, AuPresetFile::kTypeEffect);
  EXPECT_EQ(p.name, "Caf\xC3\xA9 & <Bar>");
}

TEST(AuPresetFile, RefusesEveryTruncationOfTheList) {
  AuPresetFile preset;
  preset.controllerState = oracle::kVst3Cont;
  preset.processorState = oracle::kVst3Comp;
  const std::string text = WriteAuPreset(preset);
  const size_t end = text.rfind("</plist>") + std::string("</plist>").size();
  ExpectEveryPrefixRefused(FileBytes(text.begin(), text.end()), ReadsAu, end);
}

std::string MinimalList(const std::string& processorData, const std::string& extra = "") {
  return "<?xml version=\"1.0\"?>\n<plist version=\"1.0\"><dict>"
         "<key>Controller State</key><data>AQAAAAc=</data>"
         "<key>Processor State</key><data>" +
         processorData + "</data>" + extra +
         "<key>manufacturer</key><integer>-5</integer>"
         "<key>subtype</key><integer>4294967295</integer></dict></plist>";
}

std::string NestedArrays(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i)
    text += "<array>";
  for (int i = 0; i < depth; ++i)
    text += "</array>";
  return text;
}

TEST(AuPresetFile, RefusesListsThatAreMalformedOrDisagreeWithThemselves) {
  AuPresetFile p;
  const std::string good = MinimalList("AgAAAGFi");
  ASSERT_TRUE(ReadAuPreset(good.data(), good.size(), p));
  EXPECT_EQ(p.processorState, (FileBytes{'a', 'b'}));
  EXPECT_EQ(p.controllerState, (FileBytes{7}));
  EXPECT_EQ(p.manufacturer, -5);
  EXPECT_TRUE(AuCodeMatches(p.subtype, -1));

  const struct {
    const char* what;
    std::string text;
  } cases[] = {
      {"state shorter than its length", MinimalList("BQAAAGFi")},
      {"state longer than its length", MinimalList("AQAAAGFi")},
      {"state without a length", MinimalList("YWI=")},
      {"Base64 outside the alphabet", MinimalList("AgAAAGF!")},
      {"Base64 fill in the middle", MinimalList("AgA=AGFi")},
      {"duplicate key", MinimalList("AgAAAGFi", "<key>subtype</key><integer>1</integer>")},
      {"integer beyond int64",
       MinimalList("AgAAAGFi", "<key>x</key><integer>99999999999999999999</integer>")},
      {"integer not a number", MinimalList("AgAAAGFi", "<key>x</key><integer>12a</integer>")},
      {"unknown element", MinimalList("AgAAAGFi", "<key>x</key><blob/>")},
      {"unknown entity", MinimalList("AgAAAGFi", "<key>x</key><string>&bogus;</string>")},
      {"key without value", MinimalList("AgAAAGFi", "<key>x</key>")},
      {"mismatched close", MinimalList("AgAAAGFi", "<key>x</key><string>a</data>")},
      {"document type with its own entities",
       "<!DOCTYPE plist [<!ENTITY a \"b\">]>" + MinimalList("AgAAAGFi")},
      {"text after the list", MinimalList("AgAAAGFi") + "<x/>"},
      {"processor state of another kind",
       "<plist><dict><key>Processor State</key><string>AgAAAGFi</string></dict></plist>"},
      {"top of another kind", "<plist><array/></plist>"},
      {"nesting beyond the limit", MinimalList("AgAAAGFi", "<key>x</key>" + NestedArrays(100))},
  };
  for (const auto& c : cases)
    EXPECT_FALSE(ReadAuPreset(c.text.data(), c.text.size(), p)) << c.what;
  const std::string deepEnough = MinimalList("AgAAAGFi", "<key>x</key>" + NestedArrays(60));
  EXPECT_TRUE(ReadAuPreset(deepEnough.data(), deepEnough.size(), p));
}

TEST(AuPresetFile, CodesMatchAsSignedOrUnsignedWords) {
  EXPECT_TRUE(AuCodeMatches(1364086091, 0x514E4D4B));
  EXPECT_TRUE(AuCodeMatches(-1, -1));
  EXPECT_TRUE(AuCodeMatches(4294967295, -1));
  EXPECT_FALSE(AuCodeMatches(4294967295 + 1, 0));
  EXPECT_FALSE(AuCodeMatches(1364086092, 0x514E4D4B));
}

} // namespace
