// Base64 text, the factory-preset source lines, and whole-file reading and writing: files
// appear whole or not at all, and names stay inside their folder.
#include "framework/Base64.h"
#include "framework/Base64Text.h"
#include "framework/PresetFileIO.h"
#include "framework/PresetSourceDump.h"

#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <sys/stat.h>

namespace {

using namespace presetfiles;

FileBytes Bytes(const std::string& s) {
  return FileBytes(s.begin(), s.end());
}

TEST(Base64Text, EncodesTheStandardVectors) {
  const struct {
    const char* plain;
    const char* encoded;
  } cases[] = {{"", ""},
               {"f", "Zg=="},
               {"fo", "Zm8="},
               {"foo", "Zm9v"},
               {"foob", "Zm9vYg=="},
               {"fooba", "Zm9vYmE="},
               {"foobar", "Zm9vYmFy"}};
  for (const auto& c : cases) {
    const FileBytes plain = Bytes(c.plain);
    EXPECT_EQ(EncodeBase64(plain.data(), plain.size()), c.encoded) << c.plain;
    FileBytes decoded;
    ASSERT_TRUE(DecodeBase64Text(c.encoded, decoded)) << c.encoded;
    EXPECT_EQ(decoded, plain) << c.encoded;
  }
  const uint8_t high[] = {0xFB, 0xFF, 0xBF};
  EXPECT_EQ(EncodeBase64(high, 3), "+/+/");
}

TEST(Base64Text, DecodesAcrossWhitespaceAndRefusesAnythingElse) {
  FileBytes out;
  ASSERT_TRUE(DecodeBase64Text("\tZm9v\n\tYmE=\n\t ", out));
  EXPECT_EQ(out, Bytes("fooba"));
  for (const char* bad :
       {"Zg=", "Zm9", "Z===", "=Zg=", "Zg==Zg==", "Zg==x", "Zm9v!", "Zm-v", "Zg=A", "Zm9vYmE=="})
    EXPECT_FALSE(DecodeBase64Text(bad, out)) << bad;
}

TEST(Base64Text, WhatItEncodesTheFactoryBlobDecoderReads) {
  FileBytes blob(1000);
  for (size_t i = 0; i < blob.size(); ++i)
    blob[i] = uint8_t(i * 37 + i / 256);
  const std::string text = EncodeBase64(blob.data(), blob.size());
  FileBytes decoded(blob.size());
  EXPECT_EQ(DecodeBase64(text.c_str(), decoded.data(), int(decoded.size())), int(blob.size()));
  EXPECT_EQ(decoded, blob);
}

TEST(PresetSourceLines, NamedParametersPrintOneIndentedLineEach) {
  const std::vector<PresetSourceValue> values = {{"kGain", PresetSourceValue::kDouble, -3.5},
                                                 {"kSteps", PresetSourceValue::kInt, 6.0},
                                                 {"kMute", PresetSourceValue::kBool, 0.5},
                                                 {"kBypass", PresetSourceValue::kBool, 0.49},
                                                 {"kFreq", PresetSourceValue::kDouble, 1e-7}};
  const std::string expected = "MakePresetFromNamedParams(\"name\", 5,\n"
                               "  kGain, -3.500000,\n"
                               "  kSteps, 6,\n"
                               "  kMute, true,\n"
                               "  kBypass, false,\n"
                               "  kFreq, 0.000000);\n";
  EXPECT_EQ(NamedParamsPresetSource(values), expected);
  // A host that sets a locale with a decimal comma must not break the source.
  const char* locale = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(NamedParamsPresetSource(values), expected);
  if (locale)
    std::setlocale(LC_NUMERIC, "C");
}

TEST(PresetSourceLines, ABlobLineCarriesBothChunksAndTheirSizes) {
  const uint8_t proc[] = {'f', 'o', 'o'};
  const uint8_t ctrl[] = {'b', 'a', 'r'};
  EXPECT_EQ(BlobPresetSource("Warm \"Tape\" \\ 1", proc, 3, ctrl, 3),
            "MakePresetFromBlob(\"Warm \\\"Tape\\\" \\\\ 1\", \"Zm9vYmFy\", 6, 3);\n");
  EXPECT_EQ(BlobPresetSource("a\nb", proc, 3, nullptr, 0),
            "MakePresetFromBlob(\"a\\012b\", \"Zm9v\", 3, 3);\n");
}

TEST(PresetFilePaths, JoinFolderNameAndExtensionWithinTheFolder) {
  const struct {
    const char* folder;
    const char* name;
    const char* path;
  } cases[] = {{"/tmp/p", "Warm", "/tmp/p/Warm.fxp"},
               {"/tmp/p/", "Warm", "/tmp/p/Warm.fxp"},
               {"/tmp/p", "../../etc/x", "/tmp/p/.._.._etc_x.fxp"},
               {"/tmp/p", "", "/tmp/p/.fxp"}};
  for (const auto& c : cases)
    EXPECT_EQ(PresetFilePath(c.folder, c.name, ".fxp"), c.path) << c.name;
  // Long paths are not cut to a fixed buffer.
  const std::string longName(3000, 'n');
  EXPECT_EQ(PresetFilePath("/f", longName.c_str(), ".tfx"), "/f/" + longName + ".tfx");
}

TEST(PresetFileWriting, AFileIsWrittenWholeAndLeavesNothingElseBehind) {
  TempDir dir;
  const FileBytes bytes = Bytes("preset bytes");
  ASSERT_TRUE(WritePresetFile(dir.File("a.fxp").c_str(), bytes.data(), bytes.size()));
  EXPECT_EQ(ReadBytes(dir.File("a.fxp")), bytes);
  // Replacing a file replaces it whole.
  ASSERT_TRUE(WritePresetFile(dir.File("a.fxp").c_str(), "x", 1));
  EXPECT_EQ(ReadBytes(dir.File("a.fxp")), Bytes("x"));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.fxp"});
  struct stat info;
  ASSERT_EQ(::stat(dir.File("a.fxp").c_str(), &info), 0);
  EXPECT_NE(info.st_mode & 0044, 0u) << "a preset file is readable by others as any new file";

  EXPECT_FALSE(WritePresetFile(nullptr, "x", 1));
  EXPECT_FALSE(WritePresetFile("", "x", 1));
  EXPECT_FALSE(WritePresetFile(dir.File("missing/a.fxp").c_str(), "x", 1));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.fxp"});
}

TEST(PresetFileWriting, ASetIsWrittenWholeOrNotAtAll) {
  TempDir dir;
  std::vector<PresetFileImage> files = {{dir.File("one.tfx"), Bytes("1")},
                                        {dir.File("two.tfx"), Bytes("22")},
                                        {dir.File("no/three.tfx"), Bytes("333")}};
  EXPECT_FALSE(WritePresetFiles(files));
  EXPECT_TRUE(dir.Entries().empty());

  files.pop_back();
  ASSERT_TRUE(WritePresetFiles(files));
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"one.tfx", "two.tfx"}));
  EXPECT_EQ(ReadBytes(dir.File("two.tfx")), Bytes("22"));
}

TEST(PresetFileReading, TakesWholeRegularFilesUpToTheLimit) {
  TempDir dir;
  WriteBytes(dir.File("a"), Bytes("12345"));
  FileBytes out = Bytes("kept");
  ASSERT_TRUE(ReadPresetFile(dir.File("a").c_str(), out));
  EXPECT_EQ(out, Bytes("12345"));

  out = Bytes("kept");
  EXPECT_FALSE(ReadPresetFile(dir.File("a").c_str(), out, 4));
  EXPECT_FALSE(ReadPresetFile(nullptr, out));
  EXPECT_FALSE(ReadPresetFile(dir.File("missing").c_str(), out));
  EXPECT_FALSE(ReadPresetFile(dir.path().c_str(), out));
  EXPECT_EQ(out, Bytes("kept"));
}

} // namespace
