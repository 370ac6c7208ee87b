#include "base/source/fstring.h"
#include "public.sdk/source/vst/utility/stringconvert.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace Steinberg;
using Steinberg::Vst::String128;

std::u16string toU16(const char8* utf8, int32 capacity = 128) {
  std::u16string buffer(static_cast<size_t>(capacity), u'\xAAAA');
  const int32 n = utf8ToUtf16(utf8, buffer.data(), capacity);
  EXPECT_GE(n, 0);
  EXPECT_EQ(buffer[static_cast<size_t>(n)], 0) << "terminator right after the text";
  return buffer.substr(0, static_cast<size_t>(n));
}

// Code points and their UTF-8 and UTF-16 spellings from the Unicode standard's own examples.
struct Spelling {
  const char* name;
  const char8* utf8;
  std::u16string utf16;
};

class Utf8ToUtf16 : public testing::TestWithParam<Spelling> {};

TEST_P(Utf8ToUtf16, ConvertsBothWays) {
  const Spelling& s = GetParam();
  EXPECT_EQ(toU16(s.utf8), s.utf16);
  char8 back[64];
  utf16ToUtf8(s.utf16.c_str(), back);
  EXPECT_STREQ(back, s.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Strings, Utf8ToUtf16,
    testing::Values(Spelling{"Empty", "", u""}, Spelling{"Ascii", "Orvane EQ", u"Orvane EQ"},
                    Spelling{"TwoBytes", "\xC3\xA9", u"\u00E9"},                     // e acute
                    Spelling{"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},               // euro sign
                    Spelling{"SurrogatePair", "\xF0\x9D\x84\x9E", u"\xD834\xDD1E"}), // G clef
    [](const testing::TestParamInfo<Spelling>& info) { return std::string(info.param.name); });

TEST(Utf8ToUtf16Limits, String128KeepsRoomForTheTerminator) {
  const std::string longText(300, 'x');
  String128 field;
  EXPECT_EQ(utf8ToUtf16(longText.c_str(), field), 127);
  EXPECT_EQ(field[127], 0);
  EXPECT_EQ(field[126], u'x');
}

TEST(Utf8ToUtf16Limits, SurrogatePairIsNotSplitAtTheEnd) {
  // Three units of room: "a" fits, the pair would need units 1 and 2 plus a terminator.
  EXPECT_EQ(toU16("a\xF0\x9D\x84\x9E", 3), u"a");
  EXPECT_EQ(toU16("a\xF0\x9D\x84\x9E", 4), u"a\xD834\xDD1E");
}

TEST(Utf8ToUtf16Limits, MalformedBytesBecomeReplacementCharacters) {
  EXPECT_EQ(toU16("a\xFF"
                  "b"),
            u"a\uFFFD"
            "b");
  EXPECT_EQ(toU16("\xC3"), u"\uFFFD");         // cut sequence at the end
  EXPECT_EQ(toU16("\xC0\xAF"), u"\uFFFD");     // overlong spelling of '/'
  EXPECT_EQ(toU16("\xED\xA0\x80"), u"\uFFFD"); // an encoded surrogate
  EXPECT_EQ(toU16("\xE2\x82"
                  "A"),
            u"\uFFFD"
            "A"); // the byte after a cut sequence survives
}

TEST(Utf8ToUtf16Limits, BadArgumentsWriteNothing) {
  char16 field[4] = {u'q', u'q', u'q', u'q'};
  EXPECT_EQ(utf8ToUtf16("abc", nullptr, 4), -1);
  EXPECT_EQ(utf8ToUtf16("abc", field, 0), -1);
  EXPECT_EQ(field[0], u'q');
  EXPECT_EQ(utf8ToUtf16(nullptr, field, 4), 0);
  EXPECT_EQ(field[0], 0);
}

TEST(Utf16ToUtf8Limits, CutsOnlyAtWholeCharacters) {
  char8 out[3];
  EXPECT_EQ(utf16ToUtf8(u"a\u20AC", out), 1); // the euro sign needs three bytes
  EXPECT_STREQ(out, "a");
  char8 lone[8];
  utf16ToUtf8(u"\xD834x", lone); // unpaired high surrogate
  EXPECT_STREQ(lone, "\xEF\xBF\xBDx");
}

TEST(Utf16ToAscii, NonAsciiBecomesQuestionMarks) {
  char8 out[128];
  EXPECT_EQ(utf16ToAscii(u"Gain \u00E9\xD834\xDD1E!", out), 8); // one ? per character
  EXPECT_STREQ(out, "Gain ?"
                    "?!");
  char8 small[4];
  EXPECT_EQ(utf16ToAscii(u"abcdef", small), 3);
  EXPECT_STREQ(small, "abc");
}

TEST(StringConvert, FixedFieldReportsCutting) {
  String128 field;
  EXPECT_TRUE(Vst::StringConvert::convert(std::string("Bypass"), field));
  EXPECT_EQ(Vst::StringConvert::convert(field), "Bypass");
  EXPECT_FALSE(Vst::StringConvert::convert(std::string(200, 'y'), field));
  EXPECT_EQ(Vst::StringConvert::convert(field).size(), 127u);
  EXPECT_EQ(Vst::StringConvert::convert(static_cast<const Vst::TChar*>(nullptr)), "");
  EXPECT_EQ(Vst::StringConvert::convert(u"abcdef", 3), "abc");
}

} // namespace
