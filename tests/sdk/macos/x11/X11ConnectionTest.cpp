// What the editor's connection learns from the server: the desktop scale from Xft.dpi, and
// the modifier bits of Alt and Super.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "x11/X11Connection.h"

#include "tests/hosts/x11/HostWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstring>

namespace orvane::x11 {
namespace {

using x11host::HostWindow;

TEST(DesktopScale, TwoFrom192DotsPerInch) {
  EXPECT_EQ(ScaleForDpi(0), 1.0);
  EXPECT_EQ(ScaleForDpi(96), 1.0);
  EXPECT_EQ(ScaleForDpi(191.9), 1.0);
  EXPECT_EQ(ScaleForDpi(192), 2.0);
  EXPECT_EQ(ScaleForDpi(288), 2.0);
}

// The desktop's Xft.dpi as a desktop session publishes it: the root window's resources.
class XftDpi : public ::testing::Test {
protected:
  void SetUp() override {
    std::string error;
    host = HostWindow::create(8, 8, error);
    ASSERT_TRUE(host) << error;
  }
  void TearDown() override {
    if (host)
      XDeleteProperty(host->display(), DefaultRootWindow(host->display()), XA_RESOURCE_MANAGER);
  }
  void publish(const char* resources) {
    XChangeProperty(host->display(), DefaultRootWindow(host->display()), XA_RESOURCE_MANAGER,
                    XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(resources), int(std::strlen(resources)));
    host->sync();
  }
  std::unique_ptr<HostWindow> host;
};

TEST_F(XftDpi, DecidesTheScaleOfTheNextConnection) {
  {
    X11Connection none;
    ASSERT_TRUE(none.isOpen());
    EXPECT_EQ(none.xftDpi(), 0.0);
    EXPECT_EQ(none.desktopScale(), 1.0);
  }
  publish("Xcursor.size:\t24\nXft.dpi:\t192\n");
  X11Connection high;
  EXPECT_EQ(high.xftDpi(), 192.0);
  EXPECT_EQ(high.desktopScale(), 2.0);
  publish("Xft.dpi:\t144\n");
  X11Connection medium;
  EXPECT_EQ(medium.desktopScale(), 1.0);
}

TEST(Connection, FindsTheModifierBitsOfAltAndSuper) {
  std::string error;
  auto host = HostWindow::create(8, 8, error);
  ASSERT_TRUE(host) << error;
  X11Connection connection;
  ASSERT_TRUE(connection.isOpen());
  EXPECT_GE(connection.descriptor(), 0);
  // Xvfb's default map: Alt on Mod1, Super on Mod4.
  EXPECT_EQ(connection.altMask(), unsigned(Mod1Mask));
  EXPECT_EQ(connection.superMask(), unsigned(Mod4Mask));
  // A bad request is caught, not fatal.
  EXPECT_FALSE(connection.checked([&] { XMapWindow(connection.get(), 0x7FFFFFF); }));
  EXPECT_TRUE(connection.checked([&] { XMapWindow(connection.get(), host->window()); }));
}

} // namespace
} // namespace orvane::x11
