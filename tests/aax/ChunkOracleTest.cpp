// The chunk-data parser against a second implementation of the block format (Python,
// oracle/chunk_oracle.py): random element lists must write to the oracle's blocks, and the
// oracle's blocks, floats and int16s included, must read back to its lists.
#include "FakeAAXHost.h"
#include "aax/library/AAX_CChunkDataParser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {
#include "chunk_oracle_cases.inc"

using aaxhost::FakeChunkRecord;
using Bytes = std::vector<uint8_t>;

TEST(ChunkOracle, WritesTheOraclesBlocks) {
  int index = 0;
  for (const OracleCase& c : kWritableCases) {
    AAX_CChunkDataParser parser;
    for (size_t i = 0; i < c.count; ++i) {
      const OracleElement& e = c.elements[i];
      if (e.type == AAX_CChunkDataParser::kDoubleType)
        parser.AddDouble(e.name, e.number);
      else if (e.type == AAX_CChunkDataParser::kLongType)
        parser.AddInt32(e.name, e.integer);
      else
        parser.AddString(e.name, AAX_CString(e.text));
    }
    ASSERT_EQ(parser.GetChunkDataSize(), int32_t(c.size)) << index;
    FakeChunkRecord record(uint32_t(c.size));
    ASSERT_EQ(parser.GetChunkData(record.Get()), AAX_SUCCESS) << index;
    EXPECT_EQ(record.Data(), Bytes(c.block, c.block + c.size)) << index;
    ++index;
  }
}

void ExpectReadsBack(const OracleCase& c, int index) {
  FakeChunkRecord record = FakeChunkRecord::WithData(Bytes(c.block, c.block + c.size), 0);
  AAX_CChunkDataParser parser;
  ASSERT_EQ(parser.LoadChunk(record.Get()), AAX_SUCCESS) << index;
  ASSERT_EQ(parser.Values().size(), c.count) << index;
  for (size_t i = 0; i < c.count; ++i) {
    const OracleElement& e = c.elements[i];
    const AAX_CChunkDataParser::DataValue& v = parser.Values()[i];
    EXPECT_EQ(v.mDataType, e.type) << index << ":" << i;
    EXPECT_STREQ(v.mDataName.Get(), e.name) << index << ":" << i;
    switch (e.type) {
    case AAX_CChunkDataParser::kDoubleType:
      EXPECT_EQ(std::signbit(v.mNumber.mDouble), std::signbit(e.number));
      EXPECT_EQ(v.mNumber.mDouble, e.number) << index << ":" << i;
      break;
    case AAX_CChunkDataParser::kFloatType:
      EXPECT_EQ(v.mNumber.mFloat, float(e.number)) << index << ":" << i;
      break;
    case AAX_CChunkDataParser::kStringType:
      EXPECT_STREQ(v.mStringValue.Get(), e.text) << index << ":" << i;
      break;
    default:
      EXPECT_EQ(v.mNumber.mInt32, e.integer) << index << ":" << i;
      break;
    }
  }
}

TEST(ChunkOracle, ReadsTheOraclesBlocks) {
  int index = 0;
  for (const OracleCase& c : kWritableCases)
    ExpectReadsBack(c, index++);
  for (const OracleCase& c : kReadableCases)
    ExpectReadsBack(c, index++);
}

} // namespace
