// Click counts from timing and distance: X reports single presses only.
#include "x11/X11ClickCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane::x11 {
namespace {

struct Press {
  unsigned button;
  std::uint32_t time;
  int x, y;
  int expectedCount;
};

struct ClickCase {
  const char* name;
  std::vector<Press> presses;
};

const ClickCase kCases[] = {
    {"double", {{1, 1000, 10, 10, 1}, {1, 1250, 11, 9, 2}}},
    {"triple", {{1, 1000, 10, 10, 1}, {1, 1200, 10, 10, 2}, {1, 1400, 10, 10, 3}}},
    {"at the interval", {{1, 1000, 10, 10, 1}, {1, 1400, 10, 10, 2}}},
    {"too slow", {{1, 1000, 10, 10, 1}, {1, 1401, 10, 10, 1}}},
    {"too far", {{1, 1000, 10, 10, 1}, {1, 1100, 15, 10, 1}}},
    {"other button", {{1, 1000, 10, 10, 1}, {3, 1100, 10, 10, 1}, {3, 1200, 10, 10, 2}}},
    // Small steps that drift away from the first press end the run.
    {"drift", {{1, 1000, 10, 10, 1}, {1, 1100, 13, 10, 2}, {1, 1200, 16, 10, 1}}},
    // Server time is 32-bit and wraps.
    {"clock wrap", {{1, 0xFFFFFF00u, 10, 10, 1}, {1, 0x00000010u, 10, 10, 2}}},
};

class ClickCounting : public ::testing::TestWithParam<ClickCase> {};

TEST_P(ClickCounting, CountsPressesInARun) {
  X11ClickCounter counter;
  for (const Press& p : GetParam().presses)
    EXPECT_EQ(counter.press(p.button, p.time, p.x, p.y), p.expectedCount) << "press at " << p.time;
}

INSTANTIATE_TEST_SUITE_P(Runs, ClickCounting, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (ch == ' ')
      ch = '_';
  return name;
});

TEST(ClickCounter, ResetStartsANewRun) {
  X11ClickCounter counter;
  EXPECT_EQ(counter.press(1, 100, 0, 0), 1);
  counter.reset();
  EXPECT_EQ(counter.press(1, 150, 0, 0), 1);
}

} // namespace
} // namespace orvane::x11
