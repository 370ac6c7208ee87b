// The chunk-data parser against data blocks assembled by hand from the format: marker, then
// tag-and-name texts and big-endian values, each element on a multiple of 4.
#include "FakeAAXHost.h"
#include "aax/library/AAX_CChunkDataParser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using aaxhost::FakeChunkRecord;
using Bytes = std::vector<uint8_t>;

namespace {

const Bytes kMarker = {1, 1, 1, 1};

Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes joined;
  for (const Bytes& part : parts)
    joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

// A text with its terminator, zero-padded to a multiple of 4.
Bytes Padded(const std::string& text) {
  Bytes bytes(text.begin(), text.end());
  bytes.push_back(0);
  while (bytes.size() % 4)
    bytes.push_back(0);
  return bytes;
}

Bytes Written(const AAX_CChunkDataParser& parser) {
  FakeChunkRecord record(uint32_t(parser.GetChunkDataSize()));
  EXPECT_EQ(parser.GetChunkData(record.Get()), AAX_SUCCESS);
  EXPECT_EQ(record.Get()->fSize, parser.GetChunkDataSize());
  return record.Data();
}

TEST(ChunkDataParser, WritesTheFormatByteForByte) {
  AAX_CChunkDataParser parser;
  EXPECT_EQ(Written(parser), kMarker); // an empty list is the marker alone

  parser.AddDouble("Gain", 1.5);
  parser.AddInt32("ab", -2);
  parser.AddString("s", AAX_CString("hello"));
  parser.AddInt32("n", 7);
  const Bytes expected = Join({kMarker,
                               Padded("d_Gain"),
                               {0x3F, 0xF8, 0, 0, 0, 0, 0, 0},
                               Padded("l_ab"),
                               {0xFF, 0xFF, 0xFF, 0xFE},
                               Padded("r_s"),
                               Padded("hello"),
                               Padded("l_n"),
                               {0, 0, 0, 7}});
  EXPECT_EQ(parser.GetChunkDataSize(), int32_t(expected.size()));
  EXPECT_EQ(Padded("d_Gain").size() + 8, 16u); // 7 bytes padded to 8, then the value
  EXPECT_EQ(Written(parser), expected);
}

TEST(ChunkDataParser, ReadsEveryTypeBackInOrder) {
  const Bytes data = Join({kMarker,
                           Padded("f_F"),
                           {0x3F, 0xC0, 0, 0},
                           Padded("s_S"),
                           {0xFF, 0xFE, 0, 0},
                           Padded("r_text"),
                           Padded("abc"),
                           Padded("d_D"),
                           {0xC0, 0x00, 0, 0, 0, 0, 0, 0},
                           Padded("l_L"),
                           {0x12, 0x34, 0x56, 0x78}});
  FakeChunkRecord record = FakeChunkRecord::WithData(data, 0);
  record.Get()->fVersion = 3;
  AAX_CChunkDataParser parser;
  ASSERT_EQ(parser.LoadChunk(record.Get()), AAX_SUCCESS);
  EXPECT_EQ(parser.ChunkVersion(), 3);
  const auto& values = parser.Values();
  ASSERT_EQ(values.size(), 5u);
  EXPECT_EQ(values[0].mDataType, AAX_CChunkDataParser::kFloatType);
  EXPECT_EQ(values[0].mNumber.mFloat, 1.5f);
  EXPECT_EQ(values[1].mDataType, AAX_CChunkDataParser::kShortType);
  EXPECT_EQ(values[1].mNumber.mInt32, -2);
  EXPECT_STREQ(values[2].mStringValue.Get(), "abc");
  EXPECT_STREQ(values[2].mDataName.Get(), "text");
  double d = 0;
  int32_t l = 0;
  AAX_CString s;
  EXPECT_TRUE(parser.FindDouble("D", &d));
  EXPECT_EQ(d, -2.0);
  EXPECT_TRUE(parser.FindInt32("L", &l));
  EXPECT_EQ(l, 0x12345678);
  EXPECT_TRUE(parser.FindString("text", &s));
  EXPECT_STREQ(s.Get(), "abc");
  // Found only under their own type.
  EXPECT_FALSE(parser.FindDouble("F", &d));
  EXPECT_FALSE(parser.FindInt32("S", &l));
  EXPECT_FALSE(parser.FindInt32("missing", &l));
}

TEST(ChunkDataParser, RoundTripsWhatItWrites) {
  AAX_CChunkDataParser writer;
  writer.AddString("first", AAX_CString("abcd")); // a string that fills its padding exactly
  writer.AddDouble("x", -0.125);
  writer.AddString("empty", AAX_CString(""));
  writer.AddInt32(std::string(200, 'n').c_str(), INT32_MIN);
  FakeChunkRecord record = FakeChunkRecord::WithData(Written(writer), 0);
  AAX_CChunkDataParser reader;
  ASSERT_EQ(reader.LoadChunk(record.Get()), AAX_SUCCESS);
  ASSERT_EQ(reader.Values().size(), writer.Values().size());
  for (size_t i = 0; i < writer.Values().size(); ++i) {
    const auto& a = writer.Values()[i];
    const auto& b = reader.Values()[i];
    EXPECT_EQ(a.mDataType, b.mDataType) << i;
    EXPECT_TRUE(a.mDataName == b.mDataName) << i;
    EXPECT_EQ(a.mNumber.mRaw, b.mNumber.mRaw) << i;
    EXPECT_TRUE(a.mStringValue == b.mStringValue) << i;
  }
}

TEST(ChunkDataParser, FindNameSearchesOnFromTheLastFoundAndWrapsAround) {
  AAX_CChunkDataParser parser;
  parser.AddInt32("a", 1);
  parser.AddInt32("b", 2);
  parser.AddInt32("a", 3);
  EXPECT_EQ(parser.FindName(AAX_CString("a")), 0);
  EXPECT_EQ(parser.FindName(AAX_CString("a")), 2);
  EXPECT_EQ(parser.FindName(AAX_CString("a")), 0);
  EXPECT_EQ(parser.FindName(AAX_CString("b")), 1);
  EXPECT_EQ(parser.FindName(AAX_CString("b")), 1); // the last found one itself is searched last
  EXPECT_EQ(parser.FindName(AAX_CString("c")), -1);
  parser.Clear();
  EXPECT_EQ(parser.FindName(AAX_CString("a")), -1);
  EXPECT_EQ(parser.ChunkVersion(), -1);
}

TEST(ChunkDataParser, LoadsShortOrUnmarkedBlocksAsEmptyLists) {
  const Bytes cases[] = {
      {}, {1, 1, 1, 1}, {1, 1, 1, 2, 0, 0, 0, 0}, {9, 9, 9, 9, 'l', '_', 'a', 0}};
  for (const Bytes& data : cases) {
    FakeChunkRecord record = FakeChunkRecord::WithData(data, 0);
    AAX_CChunkDataParser parser;
    parser.AddInt32("old", 1);
    EXPECT_EQ(parser.LoadChunk(record.Get()), AAX_SUCCESS);
    EXPECT_TRUE(parser.Values().empty());
  }
  FakeChunkRecord negative = FakeChunkRecord::WithData(Join({kMarker, Padded("l_a")}), 0);
  negative.Get()->fSize = -8;
  AAX_CChunkDataParser parser;
  EXPECT_EQ(parser.LoadChunk(negative.Get()), AAX_SUCCESS);
  EXPECT_TRUE(parser.Values().empty());
}

// Damaged blocks never make the reader look past the block. A value or string that runs past
// the end refuses the block with the overflow code and an empty list; a name that runs to the
// end ends the reading and keeps what came before it.
TEST(ChunkDataParser, NeverReadsPastTheBlock) {
  const Bytes good = Join({Padded("l_ok"), {0, 0, 0, 1}});
  const struct {
    const char* what;
    Bytes tail;
    AAX_Result result;
    size_t kept;
  } cases[] = {
      {"double cut short", Join({Padded("d_x"), {0x3F, 0xF0, 0, 0}}), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"double missing", Padded("d_x"), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"float missing", Padded("f_x"), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"int32 cut short", Join({Padded("l_x"), {0, 0}}), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"int16 missing", Padded("s_x"), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"string without end", Join({Padded("r_x"), {'a', 'b', 'c', 'd'}}), AAX_ERROR_CHUNK_OVERFLOW,
       0},
      {"string missing", Padded("r_x"), AAX_ERROR_CHUNK_OVERFLOW, 0},
      {"name without end", {'d', '_', 'x', 'y'}, AAX_SUCCESS, 1},
      {"unknown tag", Join({Padded("q_x"), {0, 0, 0, 0}}), AAX_SUCCESS, 1},
      {"zero padding", {0, 0, 0, 0, 0, 0, 0, 0}, AAX_SUCCESS, 1},
  };
  for (const auto& c : cases) {
    const Bytes data = Join({kMarker, good, c.tail});
    // The record holds exactly the block, so the sanitizers see any read beyond it.
    FakeChunkRecord record = FakeChunkRecord::WithData(data, 0);
    AAX_CChunkDataParser parser;
    EXPECT_EQ(parser.LoadChunk(record.Get()), c.result) << c.what;
    EXPECT_EQ(parser.Values().size(), c.kept) << c.what;
  }
}

TEST(ChunkDataParser, TagsWithoutNameGiveAnEmptyName) {
  const Bytes data =
      Join({kMarker, {'d', 0, 0, 0}, {0x40, 0, 0, 0, 0, 0, 0, 0}, {'l', '_', 0, 0}, {0, 0, 0, 5}});
  FakeChunkRecord record = FakeChunkRecord::WithData(data, 0);
  AAX_CChunkDataParser parser;
  ASSERT_EQ(parser.LoadChunk(record.Get()), AAX_SUCCESS);
  ASSERT_EQ(parser.Values().size(), 2u);
  EXPECT_STREQ(parser.Values()[0].mDataName.Get(), "");
  EXPECT_EQ(parser.Values()[0].mNumber.mDouble, 2.0);
  EXPECT_STREQ(parser.Values()[1].mDataName.Get(), "");
  EXPECT_EQ(parser.Values()[1].mNumber.mInt32, 5);
}

} // namespace
