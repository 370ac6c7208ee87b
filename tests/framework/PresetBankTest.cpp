#include "framework/ChunkIO.h"
#include "framework/IPresetBank.h"
#include "support/TestHalf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdarg>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> BytesOf(const KIT_HeapBuf& chunk) {
  return std::vector<uint8_t>(chunk.Bytes(), chunk.Bytes() + chunk.GetSize());
}

// A controller-sized fixture: three parameters of each kind of value, four slots.
class PresetFixture : public ::testing::Test {
protected:
  PresetFixture() : half(3), bank(4) {
    half.GetParam(0)->InitDouble("Freq", "Hz", "", false, 100, 20, 20000, 0.1);
    half.GetParam(1)->InitInt("Steps", 2, 0, 10);
    half.GetParam(2)->InitBool("On", true);
  }

  bool MakePreset(const char* name, ...) {
    va_list args;
    va_start(args, name);
    const bool ok = bank.MakePresetV(half, half, name, args);
    va_end(args);
    return ok;
  }
  bool MakeNamed(const char* name, int n, ...) {
    va_list args;
    va_start(args, n);
    const bool ok = bank.MakePresetFromNamedParamsV(half, half, name, n, args);
    va_end(args);
    return ok;
  }
  void SetValues(double a, double b, double c) {
    half.GetParam(0)->Set(a);
    half.GetParam(1)->Set(b);
    half.GetParam(2)->Set(c);
  }

  TestHalf half;
  IPresetBank bank;
};

TEST_F(PresetFixture, FreshSlotsAndDefaultPresets) {
  EXPECT_EQ(bank.NPresets(), 4);
  EXPECT_STREQ(bank.GetPresetName(0), "empty");
  EXPECT_STREQ(bank.GetPresetName(4), "");
  EXPECT_STREQ(bank.GetPresetName(-1), "");
  EXPECT_EQ(bank.CurrentIndex(), 0);

  EXPECT_EQ(bank.MakeDefaultPreset("Default", 1, half), 1);
  const IPreset* slot = bank.GetPreset(0);
  EXPECT_TRUE(slot->initialized);
  EXPECT_STREQ(slot->name, "Default");
  EXPECT_EQ(slot->procChunk.GetSize(), 4 + 3 * 8);
  EXPECT_EQ(slot->ctrlChunk.GetSize(), 4);
  // More requested than there are free slots: the free ones fill, then it stops.
  EXPECT_EQ(bank.MakeDefaultPreset(nullptr, 10, half), 3);
  EXPECT_STREQ(bank.GetPresetName(3), "Empty");
  EXPECT_EQ(bank.GetFirstFreePreset(), nullptr);
  EXPECT_FALSE(bank.MakePresetFromChunk("x", 0, nullptr, 0));
}

TEST_F(PresetFixture, PresetsFromValueListsCaptureThoseValuesOnly) {
  ASSERT_TRUE(MakePreset("List", 440.0, 7, 0));               // double, int, int by type
  EXPECT_EQ(half.Values(), (std::vector<double>{100, 2, 1})); // current values untouched
  ASSERT_TRUE(MakeNamed("Named", 1, 1, 9));
  const double values[] = {1000, 3, 0};
  ASSERT_TRUE(bank.MakePreset(half, half, "Array", values, 3));
  EXPECT_FALSE(bank.MakePreset(half, half, "Short", values, 2));

  ASSERT_TRUE(bank.RestorePreset(0, half));
  EXPECT_EQ(half.Values(), (std::vector<double>{440, 7, 0}));
  ASSERT_TRUE(bank.RestorePreset(1, half));
  EXPECT_EQ(half.Values(), (std::vector<double>{100, 9, 1})); // others as they were then
  ASSERT_TRUE(bank.RestorePreset(2, half));
  EXPECT_EQ(half.Values(), (std::vector<double>{1000, 3, 0}));
  EXPECT_EQ(bank.CurrentIndex(), 2);
  EXPECT_EQ(half.restores, 3);
}

TEST_F(PresetFixture, NamedValuesWithAnUnknownIndexAreRefused) {
  EXPECT_FALSE(MakeNamed("Bad", 2, 0, 50.0, 7, 1));
  const IPresetBank::NamedValue named[] = {{0, 50.0}, {-1, 1}};
  EXPECT_FALSE(bank.MakePresetFromNamedParams(half, half, "Bad", named, 2));
  EXPECT_FALSE(bank.GetPreset(0)->initialized);
}

TEST_F(PresetFixture, RestoreChecksTheIndexAndFillsEmptySlots) {
  EXPECT_FALSE(bank.RestorePreset(-1, half));
  EXPECT_FALSE(bank.RestorePreset(4, half));
  EXPECT_EQ(half.restores, 0);

  bank.GetPreset(0)->SetName("my user preset");
  bank.GetPreset(1)->SetName("user preset 7");
  SetValues(500, 4, 0);
  ASSERT_TRUE(bank.RestorePreset(2, half)); // empty: captured from the current state
  EXPECT_TRUE(bank.GetPreset(2)->initialized);
  EXPECT_STREQ(bank.GetPresetName(2), "user preset 3"); // two slots carry the phrase
  SetValues(20, 0, 1);
  ASSERT_TRUE(bank.RestorePreset(2, half));
  EXPECT_EQ(half.Values(), (std::vector<double>{500, 4, 0}));

  IPresetBank fresh(2);
  char name[IPreset::kMaxNameLen];
  fresh.MakeDefaultUserPresetName(name);
  EXPECT_STREQ(name, "user preset 1");
  IPresetBank none(0);
  none.MakeDefaultUserPresetName(name);
  EXPECT_STREQ(name, "user preset 1");

  half.failCaptures = true; // a failed capture leaves everything as it was
  EXPECT_FALSE(bank.RestorePreset(3, half));
  EXPECT_FALSE(bank.GetPreset(3)->initialized);
  EXPECT_EQ(bank.CurrentIndex(), 2);
}

TEST_F(PresetFixture, APresetWhoseChunkDoesNotLoadChangesNothing) {
  const uint8_t shortChunk[4 + 8 + 4] = {}; // version word and one value of three
  ASSERT_TRUE(bank.MakePresetFromChunk("Short", 12, shortChunk, sizeof shortChunk));
  SetValues(440, 3, 1);
  EXPECT_FALSE(bank.RestorePreset(0, half));
  EXPECT_EQ(half.Values(), (std::vector<double>{440, 3, 1}));
  EXPECT_EQ(half.restores, 0);
}

TEST_F(PresetFixture, RestoreByNameAndModify) {
  bank.MakeDefaultPreset("A", 1, half);
  SetValues(300, 5, 0);
  bank.MakeDefaultPreset("B", 1, half);
  EXPECT_FALSE(bank.RestorePresetByName(nullptr, half));
  EXPECT_FALSE(bank.RestorePresetByName("", half));
  EXPECT_FALSE(bank.RestorePresetByName("C", half));
  ASSERT_TRUE(bank.RestorePresetByName("A", half));
  EXPECT_EQ(half.Values(), (std::vector<double>{100, 2, 1}));

  SetValues(777, 1, 1);
  ASSERT_TRUE(bank.ModifyCurrentPreset(nullptr, half));
  EXPECT_STREQ(bank.GetPresetName(0), "A");
  ASSERT_TRUE(bank.ModifyCurrentPreset("Renamed", half));
  ASSERT_TRUE(bank.RestorePresetByName("B", half));
  ASSERT_TRUE(bank.RestorePresetByName("Renamed", half));
  EXPECT_EQ(half.Values(), (std::vector<double>{777, 1, 1}));
}

TEST_F(PresetFixture, BankBytesAreTheFormat) {
  bank.MakeDefaultPreset("Default", 1, half);
  KIT_HeapBuf chunk;
  ASSERT_TRUE(bank.SerializePresets(chunk));
  std::vector<uint8_t> expected = {7, 0, 0, 0, 'D', 'e', 'f', 'a', 'u', 'l', 't', 1};
  const std::vector<uint8_t> proc = BytesOf(bank.GetPreset(0)->procChunk);
  expected.insert(expected.end(), proc.begin(), proc.end());
  expected.insert(expected.end(), {0x00, 0x01, 0x01, 0x00}); // controller chunk: version
  for (int i = 1; i < 4; ++i)                                // an empty slot: its name and a 0 byte
    expected.insert(expected.end(), {5, 0, 0, 0, 'e', 'm', 'p', 't', 'y', 0});
  EXPECT_EQ(BytesOf(chunk), expected);

  IPresetBank noSlots(0);
  KIT_HeapBuf empty;
  EXPECT_TRUE(noSlots.SerializePresets(empty));
  EXPECT_EQ(empty.GetSize(), 0);
}

TEST_F(PresetFixture, BankRoundTripRestoresEverySlotAndTheCurrentPreset) {
  bank.MakeDefaultPreset("First", 1, half);
  SetValues(2000, 8, 0);
  bank.MakeDefaultPreset(std::string(300, 'L').c_str(), 1, half); // cut to 255
  bank.RestorePreset(1, half);
  KIT_HeapBuf chunk;
  ASSERT_TRUE(bank.SerializePresets(chunk));

  TestHalf other(3);
  other.GetParam(0)->InitDouble("Freq", "Hz", "", false, 100, 20, 20000, 0.1);
  other.GetParam(1)->InitInt("Steps", 2, 0, 10);
  other.GetParam(2)->InitBool("On", true);
  IPresetBank copy(4);
  copy.GetPreset(3)->SetName("stays?");
  EXPECT_EQ(copy.UnserializePresets(chunk, 0, other), chunk.GetSize());
  for (int i = 0; i < 4; ++i) {
    EXPECT_STREQ(copy.GetPresetName(i), bank.GetPresetName(i)) << i;
    EXPECT_EQ(copy.GetPreset(i)->initialized, bank.GetPreset(i)->initialized) << i;
    EXPECT_EQ(BytesOf(copy.GetPreset(i)->procChunk), BytesOf(bank.GetPreset(i)->procChunk));
    EXPECT_EQ(BytesOf(copy.GetPreset(i)->ctrlChunk), BytesOf(bank.GetPreset(i)->ctrlChunk));
  }
  EXPECT_EQ(std::string(copy.GetPresetName(1)).size(), 255u);
  // The reader restores the current preset (index 0 of the new bank) afterwards.
  EXPECT_EQ(other.Values(), (std::vector<double>{100, 2, 1}));
  EXPECT_EQ(other.restores, 1);
}

TEST_F(PresetFixture, TruncatedBankKeepsTheRemainingSlots) {
  bank.MakeDefaultPreset("One", 1, half);
  SetValues(900, 9, 0);
  bank.MakeDefaultPreset("Two", 1, half);
  KIT_HeapBuf chunk;
  bank.SerializePresets(chunk);
  const int firstSlotBytes = 4 + 3 + 1 + 28 + 4;

  for (int cut : {firstSlotBytes + 2, firstSlotBytes + 4 + 3, firstSlotBytes + 4 + 3 + 1 + 10}) {
    IPresetBank target(4);
    for (int i = 0; i < 4; ++i)
      target.GetPreset(i)->SetName("old");
    TestHalf other(3);
    other.GetParam(0)->InitDouble("Freq", "Hz", "", false, 100, 20, 20000, 0.1);
    other.GetParam(1)->InitInt("Steps", 2, 0, 10);
    other.GetParam(2)->InitBool("On", true);
    other.GetParam(0)->Set(50);
    KIT_HeapBuf part;
    part.Append(chunk.Get(), cut);
    EXPECT_EQ(target.UnserializePresets(part, 0, other), -1) << cut;
    EXPECT_STREQ(target.GetPresetName(0), "One") << cut;
    EXPECT_TRUE(target.GetPreset(0)->initialized) << cut;
    EXPECT_FALSE(target.GetPreset(1)->initialized) << cut;
    EXPECT_STREQ(target.GetPresetName(2), "old") << cut;
    // A slot whose data ran out keeps what it had, name included.
    if (cut > firstSlotBytes + 4 + 3 + 1) {
      EXPECT_STREQ(target.GetPresetName(1), "old") << cut;
    }
    // The current preset (slot 0, read whole) is restored in the end.
    EXPECT_EQ(other.Values(), (std::vector<double>{100, 2, 1})) << cut;
  }
}

// A name length that is negative or runs past the end would move the read position
// backwards or beyond the data: such a bank is refused whole.
TEST_F(PresetFixture, BankWithABadNameLengthIsRefusedAndChangesNothing) {
  bank.MakeDefaultPreset("Keep", 1, half);
  SetValues(1234, 6, 0);
  bank.RestorePreset(1, half); // slot 1 filled from 1234/6/0, current index 1
  const int restoresBefore = half.restores;

  KIT_HeapBuf good;
  {
    IPresetBank source(4);
    TestHalf src(3);
    src.GetParam(0)->InitDouble("Freq", "Hz", "", false, 15000, 20, 20000, 0.1);
    src.GetParam(1)->InitInt("Steps", 10, 0, 10);
    src.GetParam(2)->InitBool("On", false);
    source.MakeDefaultPreset("New", 4, src);
    source.SerializePresets(good);
  }
  const int slotBytes = 4 + 3 + 1 + 28 + 4;
  for (int32_t badLen : {-1, -40, INT32_MIN, 1000, INT32_MAX}) {
    KIT_HeapBuf bad;
    bad.Append(good.Get(), good.GetSize());
    std::memcpy(bad.Bytes() + 2 * slotBytes, &badLen, 4); // the third slot's name length
    half.changes.clear();
    EXPECT_EQ(bank.UnserializePresets(bad, 0, half), -1) << badLen;
    EXPECT_STREQ(bank.GetPresetName(0), "Keep") << badLen;
    EXPECT_STREQ(bank.GetPresetName(1), "user preset 1") << badLen;
    EXPECT_FALSE(bank.GetPreset(2)->initialized) << badLen;
    EXPECT_EQ(bank.CurrentIndex(), 1);
    EXPECT_EQ(half.Values(), (std::vector<double>{1234, 6, 0})) << badLen;
    EXPECT_EQ(half.restores, restoresBefore) << badLen;
  }
  EXPECT_EQ(bank.UnserializePresets(good, -1, half), -1);
  EXPECT_EQ(bank.UnserializePresets(good, 0, half), good.GetSize());
  EXPECT_STREQ(bank.GetPresetName(2), "New");
}

// The parameter's own steps select (int)(v x count); the program list's spacing
// program / (count - 1) (Ardour's) selects that program; 1.0 is the last program.
TEST(PresetIndexFromNormalized, StepsAndProgramListSpacing) {
  for (int count = 1; count <= 64; ++count) {
    for (int p = 0; p < count; ++p) {
      const double v = double(p) / count;
      EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(v, count), p) << p << "/" << count;
      // Hosts often carry normalised values as 32-bit floats, a hair below the step.
      EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(float(v), count), p) << p << "/" << count;
      // Anywhere inside a step's span is that step.
      EXPECT_EQ(IPresetBank::PresetIndexFromNormalized((p + 0.3) / count, count), p)
          << p << "/" << count;
      if (count >= 2) {
        const double listed = double(p) / (count - 1);
        EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(listed, count), p) << p << "/" << count;
        EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(float(listed), count), p)
            << p << "/" << count;
      }
    }
    EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(1.0, count), count >= 2 ? count - 1 : -1);
  }
  struct Case {
    double v;
    int count;
    int expected;
  };
  const Case cases[] = {
      {0.4, 9, 3},           // 3.6 of 9 steps: step 3, not the nearest (4)
      {0.375, 9, 3},         // program 3 of Ardour's 8 intervals
      {0.5, 9, 4},           // program 4 of 8 intervals, and step 4 (4.5)
      {15.0 / 22.0, 22, 15}, // 14.999999999999998 in doubles
      {0.5, 4, 2},           // (int)(0.5 x 4)
      {0.99, 4, 3},          // off both grids: the steps
      {0.5, 2, 1},           // the steps of two presets: 0 and 0.5
      {-0.5, 4, -1},         // outside [0, 1]: no preset
      {1.0 + 1e-9, 4, -1},   //
      {7.0, 4, -1},          //
      {std::nan(""), 4, -1}, //
      {0.5, 0, -1},          // no slots
  };
  for (const Case& c : cases)
    EXPECT_EQ(IPresetBank::PresetIndexFromNormalized(c.v, c.count), c.expected)
        << c.v << " of " << c.count;
}

} // namespace
