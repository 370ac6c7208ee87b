// Pop-up menus as the user works them: XTest input played one step per menu tick while the
// menu runs its own grabbed loop.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "x11/X11Connection.h"
#include "x11/X11PopupMenu.h"

#include "tests/hosts/x11/HostWindow.h"

#include <X11/keysym.h>
#include <functional>

namespace orvane::x11 {
namespace {

using x11host::HostWindow;
using x11host::Image;

// Where the menu opens (root coordinates), and the rows of its top level at scale 1: the
// border takes 2 pixels, an item 20, a separator 9.
constexpr int kMenuX = 40, kMenuY = 30;
int RowCentre(int row) {
  const int tops[] = {2, 22, 31, 51, 71, 91};
  return kMenuY + (tops[row] + tops[row + 1]) / 2;
}
enum Row { kOne = 0, kSeparator = 1, kTwo = 2, kDisabled = 3, kMore = 4 };

X11Menu::Item Entry(const char* title, bool enabled = true, bool checked = false) {
  X11Menu::Item item;
  item.title = title;
  item.enabled = enabled;
  item.checked = checked;
  return item;
}

X11Menu SampleMenu() {
  X11Menu sub;
  sub.items = {Entry("Sub A"), Entry("Sub B")};
  X11Menu menu;
  X11Menu::Item separator;
  separator.separator = true;
  X11Menu::Item more = Entry("More");
  more.submenu = std::make_shared<X11Menu>(sub);
  menu.items = {Entry("One"), separator, Entry("Two", true, true), Entry("Disabled", false), more};
  return menu;
}

using Step = std::function<void(HostWindow&)>;

Step Key(unsigned long keysym) {
  return [keysym](HostWindow& host) { host.key(keysym); };
}
Step ClickAt(int x, int y) {
  return [x, y](HostWindow& host) { host.click(x, y); };
}
Step MoveTo(int x, int y) {
  return [x, y](HostWindow& host) { host.moveTo(x, y); };
}

struct MenuCase {
  const char* name;
  std::vector<Step> steps;
  std::vector<int> expected;
};

class PopupMenu : public ::testing::TestWithParam<MenuCase> {
protected:
  void SetUp() override {
    std::string error;
    // The host window covers the root's corner where the menu opens: its clicks outside the
    // menu land on a window of ours.
    host = HostWindow::create(400, 300, error);
    ASSERT_TRUE(host) << error;
    host->moveTo(kMenuX - 10, kMenuY - 10);
  }

  // Runs the menu, playing one step per tick; a menu still open once the steps are done is
  // closed with Escape (and the case fails on its result).
  std::vector<int> run(const std::vector<Step>& steps, const Step& whileOpen = {}) {
    X11Connection connection;
    size_t next = 0;
    int idleTicks = 0;
    const X11Menu menu = SampleMenu();
    return X11PopupMenu::Run(connection, menu, kMenuX, kMenuY, 1.0, [&] {
      if (whileOpen && next == 0)
        whileOpen(*host);
      if (next < steps.size())
        steps[next++](*host);
      else if (++idleTicks == 5)
        host->key(XK_Escape);
    });
  }

  std::unique_ptr<HostWindow> host;
};

TEST_P(PopupMenu, ChoosesWhatTheUserPicks) {
  EXPECT_EQ(run(GetParam().steps), GetParam().expected);
  EXPECT_TRUE(host->popupWindows().empty()) << "a menu window stayed open";
}

const MenuCase kCases[] = {
    // Keyboard: Down skips the separator, Return picks.
    {"keys down down return", {Key(XK_Down), Key(XK_Down), Key(XK_Return)}, {kTwo}},
    // Up from nothing goes to the last item; Down skips the disabled one.
    {"keys up then down wraps", {Key(XK_Up), Key(XK_Down), Key(XK_space)}, {kOne}},
    // Right opens the submenu on its first item.
    {"keys into submenu", {Key(XK_Up), Key(XK_Right), Key(XK_Down), Key(XK_Return)}, {kMore, 1}},
    // Escape in the submenu closes only the submenu; a second Escape cancels.
    {"escape closes one level", {Key(XK_Up), Key(XK_Right), Key(XK_Escape), Key(XK_Escape)}, {}},
    {"left closes the submenu",
     {Key(XK_Up), Key(XK_Right), Key(XK_Left), Key(XK_Up), Key(XK_Return)},
     {kTwo}},
    {"escape cancels", {Key(XK_Escape)}, {}},
    // Mouse: a click on an item picks it; a click outside cancels.
    {"click item", {ClickAt(kMenuX + 30, RowCentre(kTwo))}, {kTwo}},
    {"click outside cancels", {ClickAt(kMenuX + 300, kMenuY + 200)}, {}},
    // Disabled items and separators are not chosen; the menu stays open.
    {"click disabled then escape",
     {ClickAt(kMenuX + 30, RowCentre(kDisabled)), ClickAt(kMenuX + 30, RowCentre(kSeparator)),
      Key(XK_Escape)},
     {}},
    // Hovering the submenu's item opens it to the right; a click there picks from it.
    {"hover into submenu",
     {MoveTo(kMenuX + 30, RowCentre(kMore)), MoveTo(kMenuX + 130, RowCentre(kMore)),
      ClickAt(kMenuX + 130, RowCentre(kMore) + 20)},
     {kMore, 1}},
};

INSTANTIATE_TEST_SUITE_P(Gestures, PopupMenu, ::testing::ValuesIn(kCases), [](const auto& info) {
  std::string name = info.param.name;
  for (char& ch : name)
    if (ch == ' ')
      ch = '_';
  return name;
});

// The open menu is an override-redirect window at the asked place, drawn with its items.
TEST_F(PopupMenu, IsAnOverrideRedirectWindowShowingItsItems) {
  std::vector<Window> popups;
  Image shot;
  int x = 0, y = 0;
  const auto chosen = run({Key(XK_Down), Key(XK_Down),
                           [&](HostWindow& h) {
                             popups = h.popupWindows();
                             if (popups.size() == 1) {
                               h.rootPosition(popups[0], x, y);
                               const auto state = h.state(popups[0]);
                               shot = h.screenshotRoot(x, y, state.width, state.height);
                             }
                           },
                           Key(XK_Escape)});
  EXPECT_TRUE(chosen.empty());
  ASSERT_EQ(popups.size(), 1u);
  EXPECT_EQ(x, kMenuX);
  EXPECT_EQ(y, kMenuY);
  ASSERT_FALSE(shot.empty());
  shot.savePng(std::string(ORVANE_TEST_OUTPUT) + "/popup_menu.png");
  EXPECT_EQ(shot.height, 93);
  // The highlighted row (Two) is the highlight colour behind its text; the others are not.
  auto count = [&](int row, std::uint32_t colour) {
    int n = 0;
    for (int px = 2; px < shot.width - 2; ++px)
      n += shot.at(px, RowCentre(row) - kMenuY) == colour;
    return n;
  };
  const std::uint32_t highlight = 0x3875D6;
  EXPECT_GT(count(kTwo, highlight), shot.width / 2);
  EXPECT_EQ(count(kOne, highlight), 0);
  // Every item row shows text: more than the background's colour.
  EXPECT_GT(shot.colourCount(), 10u);
}

} // namespace
} // namespace orvane::x11
