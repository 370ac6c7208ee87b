#include "framework/KIT_HeapBuf.h"
#include "framework/KIT_PtrList.h"
#include "framework/KIT_String.h"
#include "framework/KIT_TypedBuf.h"
#include "framework/StringUtils.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <cctype>
#include <cstdlib>
#include <ctime>
#include <string>

namespace {

// Allocation sizes worked out by hand from the growth policy.
struct GrowthCase {
  int granularity;
  int newSize;
  int64_t alloc;
};

class HeapBufGrowth : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(HeapBufGrowth, AllocatesWhatThePolicyGives) {
  const GrowthCase c = GetParam();
  EXPECT_EQ(KIT_HeapBuf::AllocationFor(c.newSize, c.granularity), c.alloc);
}

INSTANTIATE_TEST_SUITE_P(
    Policy, HeapBufGrowth,
    ::testing::Values(GrowthCase{4096, 5, 4000},    // g 4096; 5 + 4096 + 96 -> 4096, less 96
                      GrowthCase{128, 10, 138},     // 10 + max(5, 128)
                      GrowthCase{128, 1000, 1500},  // 1000 + 500
                      GrowthCase{4096, 4000, 8096}, // 4000 + 4096 + 96 -> 8192, less 96
                      GrowthCase{4096, 4001, 8096},
                      // g = 5000 rounded down to 4096: 10000 + 4096 + 96 -> 12288, less 96
                      GrowthCase{4096, 10000, 12192},
                      // headroom capped at 4 MiB: 20 MiB + 4 MiB + 96 -> 24 MiB, less 96
                      GrowthCase{4096, 20 << 20, (24 << 20) - 96}, GrowthCase{128, 0, 0},
                      // near INT_MAX the headroom no longer fits an int: capped there
                      GrowthCase{128, INT_MAX - 10, INT_MAX},
                      GrowthCase{4096, INT_MAX - 10, INT_MAX}));

TEST(KitHeapBuf, ResizeGrowsByPolicyAndKeepsBytes) {
  KIT_HeapBuf buf(4096);
  ASSERT_NE(buf.Resize(5), nullptr);
  EXPECT_EQ(buf.GetAlloc(), 4000);
  std::memcpy(buf.Get(), "abcde", 5);
  void* before = buf.Get();
  EXPECT_EQ(buf.Resize(5), before); // same size: nothing happens
  EXPECT_EQ(buf.GetAlloc(), 4000);
  buf.Resize(3900);
  EXPECT_EQ(buf.GetAlloc(), 4000); // still inside the allocation
  buf.Resize(4001);
  EXPECT_EQ(buf.GetAlloc(), 8096);
  EXPECT_EQ(std::memcmp(buf.Get(), "abcde", 5), 0);
}

TEST(KitHeapBuf, ShrinksOnlyOnRequestAndBelowHalf) {
  KIT_HeapBuf buf(128);
  buf.Resize(1000); // alloc 1500
  ASSERT_EQ(buf.GetAlloc(), 1500);
  buf.Resize(100);
  EXPECT_EQ(buf.GetAlloc(), 1500); // no resizeDown: keep the allocation
  buf.Resize(1000);
  buf.Resize(800, true); // low = max(1, min(1500 - 512, 750)) = 750: 800 stays
  EXPECT_EQ(buf.GetAlloc(), 1500);
  buf.Resize(700, true); // below 750: new allocation 700 + 350
  EXPECT_EQ(buf.GetAlloc(), 1050);
  EXPECT_EQ(buf.GetSize(), 700);
  EXPECT_EQ(buf.Resize(0, true), nullptr);
  EXPECT_EQ(buf.GetAlloc(), 0);
  EXPECT_EQ(buf.Resize(-5), nullptr); // negative counts as 0
  EXPECT_EQ(buf.GetSize(), 0);
}

TEST(KitHeapBuf, FailedGrowthIsReportedAndLeavesTheBuffer) {
  KIT_HeapBuf buf(4096);
  ASSERT_TRUE(buf.Append("xyz", 3));
  void* before = buf.Get();
  // The largest size an int can hold: the allocation cannot be had under the sanitizers
  // and may not be had at all; either way no write may follow a growth that failed.
  EXPECT_FALSE(buf.Append(nullptr, INT_MAX)); // size + n overflows int
  EXPECT_EQ(buf.GetSize(), 3);
  EXPECT_EQ(buf.Get(), before);
  EXPECT_EQ(std::memcmp(buf.Get(), "xyz", 3), 0);
  EXPECT_FALSE(buf.Append("a", -1));
}

TEST(KitTypedBuf, CountsElementsAndRefusesOversizedCounts) {
  KIT_TypedBuf<double> values(4096);
  ASSERT_NE(values.Resize(3), nullptr);
  EXPECT_EQ(values.GetSize(), 3);
  ASSERT_TRUE(values.Add(2.5));
  EXPECT_EQ(values.GetSize(), 4);
  EXPECT_EQ(values.Get()[3], 2.5);
  // INT_MAX / 4 doubles would be 4 GiB of bytes: refused like a failed allocation.
  EXPECT_NE(values.Resize(INT_MAX / 4), nullptr);
  EXPECT_EQ(values.GetSize(), 4);
}

struct Counted {
  static inline int destroyed = 0;
  static inline std::string order;
  explicit Counted(char tag) : tag(tag) {}
  ~Counted() {
    ++destroyed;
    order += tag;
  }
  char tag;
};

TEST(KitPtrList, EmptyDeletesLastFirstWithOrWithoutDeleter) {
  Counted::destroyed = 0;
  Counted::order.clear();
  KIT_PtrList<Counted> list;
  list.Add(new Counted('a'));
  list.Add(nullptr);
  list.Add(new Counted('b'));
  EXPECT_EQ(list.GetSize(), 3);
  EXPECT_EQ(list.Get(3), nullptr);
  EXPECT_EQ(list.Get(-1), nullptr);
  list.Empty(true);
  EXPECT_EQ(Counted::order, "ba");
  EXPECT_EQ(list.GetSize(), 0);

  static int deleterCalls = 0;
  list.Add(new Counted('c'));
  list.Empty(true, [](Counted* c) {
    ++deleterCalls;
    delete c;
  });
  EXPECT_EQ(deleterCalls, 1);

  Counted keep('k');
  list.Add(&keep);
  list.Empty(false); // not owned: untouched
  EXPECT_EQ(Counted::destroyed, 3);
}

TEST(KitString, SpliceIsTheEditingPrimitive) {
  KIT_String s;
  EXPECT_STREQ(s.Get(), ""); // no buffer at all
  EXPECT_TRUE(s.Splice(0, "hello", 3, 0));
  EXPECT_STREQ(s.Get(), "hel");
  EXPECT_TRUE(s.Splice(1, "XY", 2, 2)); // "el" moves behind the insert
  EXPECT_STREQ(s.Get(), "hXYel");
  EXPECT_TRUE(s.Splice(0, 0, 0, 0));
  EXPECT_STREQ(s.Get(), "");
  EXPECT_EQ(s.GetLength(), 0);
}

TEST(KitString, SpliceRefusesEditsOutsideTheText) {
  KIT_String s("abc");
  EXPECT_FALSE(s.Splice(-1, "x", 1, 0));
  EXPECT_FALSE(s.Splice(0, "x", 0, 1));
  EXPECT_FALSE(s.Splice(2, "x", 1, 5)); // the tail would be read past the text
  EXPECT_FALSE(s.Splice(4, "x", 1, 0)); // offset past the end
  EXPECT_FALSE(s.Splice(0, "x", 1, -1));
  EXPECT_FALSE(s.Splice(INT_MAX - 2, "x", 3, 0));
  EXPECT_STREQ(s.Get(), "abc");
}

TEST(KitString, SpliceFromItsOwnTextFollowsTheMove) {
  KIT_String s("abcdef");
  // Source inside the string, which grows and moves its tail over the source bytes.
  EXPECT_TRUE(s.Splice(1, s.Get() + 2, 4, 5));
  EXPECT_STREQ(s.Get(), "acdefbcdef");
  KIT_String big;
  big.Set(std::string(500, 'q').c_str());
  EXPECT_TRUE(big.Append(big.Get())); // doubles through a reallocation
  EXPECT_EQ(big.GetLength(), 1000);
  EXPECT_EQ(std::string(big.Get()), std::string(1000, 'q'));
}

TEST(KitString, SetAppendSetLenDeleteSub) {
  KIT_String s;
  s.Set("hello", 2);
  EXPECT_STREQ(s.Get(), "he");
  s.Set("world", 0);
  EXPECT_STREQ(s.Get(), "world");
  s.Append("wide", 2);
  EXPECT_STREQ(s.Get(), "worldwi");
  s.DeleteSub(5, 100); // cut at the end
  EXPECT_STREQ(s.Get(), "world");
  s.DeleteSub(1, 2);
  EXPECT_STREQ(s.Get(), "wld");
  s.DeleteSub(3, 1); // pos at the end: nothing
  s.DeleteSub(-1, 1);
  EXPECT_STREQ(s.Get(), "wld");
  ASSERT_TRUE(s.SetLen(6));
  EXPECT_EQ(s.Get()[6], 0);
  EXPECT_STREQ(s.Get(), "wld"); // the new bytes are zero
  ASSERT_TRUE(s.SetLen(-3));
  EXPECT_STREQ(s.Get(), "");
  s.Set(nullptr);
  EXPECT_STREQ(s.Get(), "");
}

TEST(KitString, FormattingKeepsToMaxLen) {
  KIT_String s;
  ASSERT_TRUE(s.SetFormatted(64, "%s/%d", "ab", 42));
  EXPECT_STREQ(s.Get(), "ab/42");
  ASSERT_TRUE(s.AppendFormatted(3, "%s", "123456"));
  EXPECT_STREQ(s.Get(), "ab/42123");
  ASSERT_TRUE(s.SetFormatted(0, "%d", 7));
  EXPECT_STREQ(s.Get(), "");

  // Arguments taken from the string itself survive the buffer moving under them.
  KIT_String own(std::string(300, 'z').c_str());
  ASSERT_TRUE(own.AppendFormatted(1000, "[%s]", own.Get()));
  EXPECT_EQ(std::string(own.Get()), std::string(300, 'z') + "[" + std::string(300, 'z') + "]");
  ASSERT_TRUE(own.SetFormatted(2000, "%s%s", own.Get(), own.Get()));
  EXPECT_EQ(own.GetLength(), 2 * 602);
}

TEST(StringUtils, LowerWhitespaceAndTime) {
  char out[8];
  ToLower(out, "CuBaSe Pro 12", sizeof out);
  EXPECT_STREQ(out, "cubase ");
  for (char c : std::string("\t\n\r "))
    EXPECT_TRUE(IsWhitespace(c));
  EXPECT_FALSE(IsWhitespace('\v'));
  EXPECT_FALSE(IsWhitespace('a'));
  // "YYYYMMDD HH:MM +hhmm"
  const std::string now = CurrentTime();
  const std::string shape = "dddddddd dd:dd sdddd";
  ASSERT_EQ(now.size(), shape.size()) << now;
  for (size_t i = 0; i < shape.size(); ++i) {
    if (shape[i] == 'd')
      EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(now[i]))) << now;
    else if (shape[i] == 's')
      EXPECT_TRUE(now[i] == '+' || now[i] == '-') << now;
    else
      EXPECT_EQ(now[i], shape[i]) << now;
  }
}

TEST(StringUtils, TraceLinePrefixLinesUpTheSourceColumns) {
  struct Case {
    const char* text;
    const char* file;
    const char* function;
    std::string expected;
  };
  const Case cases[] = {
      {"20260101 10:00 +0100", "/src/framework/IFxBase.cpp", "SetHost",
       "20260101 10:00 +0100 [IFxBase.cpp      SetHost             ]"},
      {"x", "IFxControllerState.cpp", "UnserializeParamsAndMore",
       "x [IFxControllerSta UnserializeParamsAnd]"},
      {nullptr, nullptr, nullptr, " [                                     ]"},
      {"", "a/b/", "f", " [                 f                   ]"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TraceLinePrefix(c.text, c.file, c.function), c.expected) << c.expected;
  // A text of any length keeps the whole bracketed source at the end.
  const std::string longText(5000, 't');
  const std::string line = TraceLinePrefix(longText.c_str(), "KIT_String.cpp", "Splice");
  EXPECT_EQ(line.substr(line.size() - 39), "[KIT_String.cpp   Splice              ]");
  EXPECT_EQ(line.substr(0, 1000), longText.substr(0, 1000));
}

TEST(StringUtils, CurrentTimeCarriesTheUtcOffset) {
  const char* saved = std::getenv("TZ");
  const std::string savedTz = saved ? saved : "";
  const std::pair<const char*, const char*> zones[] = {{"<+0545>-5:45", "+0545"},
                                                       {"<-0330>3:30", "-0330"},
                                                       {"UTC0", "+0000"},
                                                       {"<+14>-14", "+1400"},
                                                       {"<-11>11", "-1100"}};
  for (auto [tz, suffix] : zones) {
    setenv("TZ", tz, 1);
    tzset();
    const std::string now = CurrentTime();
    EXPECT_EQ(now.substr(now.size() - 5), suffix) << tz;
  }
  if (saved)
    setenv("TZ", savedTz.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

} // namespace
