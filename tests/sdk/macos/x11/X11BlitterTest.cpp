// The blitter puts exactly the pixels of the backing store on the screen, and only the area
// asked for, through shared memory and through plain requests alike.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "x11/X11Blitter.h"
#include "x11/X11Connection.h"

#include "tests/hosts/x11/HostWindow.h"

#include <cstdlib>
#include <vector>

namespace orvane::x11 {
namespace {

using x11host::HostWindow;
using x11host::Image;

constexpr int kWidth = 97, kHeight = 61; // odd sizes: no row or word alignment to lean on

// Backing-store bytes X, R, G, B with a pattern that differs in every channel.
struct Backing {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(size_t(kWidth) * kHeight * 4);
  void fill(int seed) {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        std::uint8_t* p = &bytes[(size_t(y) * kWidth + x) * 4];
        p[0] = 0xAA; // unused
        p[1] = std::uint8_t(x * 3 + seed);
        p[2] = std::uint8_t(y * 5 + seed * 2);
        p[3] = std::uint8_t((x ^ y) + seed * 3);
      }
  }
  std::uint32_t rgb(int x, int y) const {
    const std::uint8_t* p = &bytes[(size_t(y) * kWidth + x) * 4];
    return std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
  }
  X11Blitter::Source source() const { return {bytes.data(), kWidth, kHeight, kWidth * 4}; }
};

class BlitterTest : public ::testing::TestWithParam<bool> {
protected:
  void SetUp() override {
    if (!GetParam())
      setenv("ORVANE_X11_NO_SHM", "1", 1);
    std::string error;
    host = HostWindow::create(kWidth, kHeight, error);
    ASSERT_TRUE(host) << error;
    connection = std::make_unique<X11Connection>();
    ASSERT_TRUE(connection->isOpen());
    blitter = std::make_unique<X11Blitter>(*connection, host->window());
  }
  void TearDown() override {
    blitter.reset();
    connection.reset();
    unsetenv("ORVANE_X11_NO_SHM");
  }
  // What the screen shows once the blitter's requests are done.
  Image shown() {
    XSync(connection->get(), False);
    return host->screenshot();
  }
  std::unique_ptr<HostWindow> host;
  std::unique_ptr<X11Connection> connection;
  std::unique_ptr<X11Blitter> blitter;
};

TEST_P(BlitterTest, ShowsTheBackingStorePixelForPixel) {
  Backing backing;
  backing.fill(0);
  EXPECT_EQ(blitter->put(backing.source(), 0, 0, kWidth, kHeight), long(kWidth) * kHeight);
  EXPECT_EQ(blitter->usesSharedMemory(), GetParam());
  const Image shot = shown();
  Image expected(kWidth, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x)
      expected.at(x, y) = backing.rgb(x, y);
  EXPECT_EQ(shot.differingPixels(expected), 0u);
}

TEST_P(BlitterTest, SendsOnlyTheAreaAskedForClippedToTheStore) {
  Backing backing;
  backing.fill(0);
  blitter->put(backing.source(), 0, 0, kWidth, kHeight);
  const Image before = shown();
  backing.fill(40);
  // Partly outside the store: only the inside is sent.
  EXPECT_EQ(blitter->put(backing.source(), 80, 50, 40, 40), long(kWidth - 80) * (kHeight - 50));
  EXPECT_EQ(blitter->put(backing.source(), 10, 5, 20, 7), 20L * 7);
  const Image after = shown();
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const bool inArea = (x >= 10 && x < 30 && y >= 5 && y < 12) || (x >= 80 && y >= 50);
      ASSERT_EQ(after.at(x, y), inArea ? backing.rgb(x, y) : before.at(x, y))
          << "pixel " << x << ", " << y;
    }
  EXPECT_EQ(blitter->put(backing.source(), kWidth, 0, 5, 5), 0);
}

INSTANTIATE_TEST_SUITE_P(Transport, BlitterTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "SharedMemory" : "Plain"; });

} // namespace
} // namespace orvane::x11
