// The editor's back end on the AppKit stand-in, driven through the VST 3 test host's objects
// with the off-screen window: what a user's clicks, keys, wheel turns and menu choices do, what
// the host sees of redraws and scale changes, and the dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include <cstdlib>
#include <map>

#include "GuiTestSupport.h"
#include "MacEditorTestSupport.h"
#include "framework/KIT_String.h"
#include "gui/IEditorCocoa.h"
#include "gui/IPopupMenu.h"

namespace {

using namespace guitest;
using Steinberg::kResultOk;
using Steinberg::ViewRect;

// ---- coordinates ----

TEST(EditorMacCoordinates, DrawBitmapAndViewRectanglesConvertByTheFormulas) {
  FakeController controller;
  struct Case {
    double scale;
    int height;
    IRECT pixels;
    NSRect view; // x = L/s, y = H/s - B/s - 1, w = (R-L)/s + 1, h = (B-T)/s + 1
  } cases[] = {
      {1.0, 315, IRECT(0, 0, 920, 315), NSMakeRect(0, -1, 921, 316)},
      {1.0, 315, IRECT(10, 20, 30, 60), NSMakeRect(10, 254, 21, 41)},
      {2.0, 630, IRECT(10, 20, 30, 60), NSMakeRect(5, 284, 11, 21)},
  };
  for (const Case& c : cases) {
    IEditorMac editor(&controller, 920, c.height);
    editor.SetDrawScale(c.scale);
    const NSRect view = editor.ToViewRect(c.pixels);
    EXPECT_DOUBLE_EQ(view.origin.x, c.view.origin.x) << c.scale;
    EXPECT_DOUBLE_EQ(view.origin.y, c.view.origin.y) << c.scale;
    EXPECT_DOUBLE_EQ(view.size.width, c.view.size.width) << c.scale;
    EXPECT_DOUBLE_EQ(view.size.height, c.view.size.height) << c.scale;
  }
  // View to pixels: L = trunc(x s), B = H - trunc(y s), T = B - trunc(h s), R = L + trunc(w s).
  IEditorMac editor(&controller, 920, 630);
  editor.SetDrawScale(2.0);
  EXPECT_EQ(editor.ToPixelRect(NSMakeRect(5.3, 10.6, 20.2, 7.9)), IRECT(10, 594, 50, 609));
}

// ---- events as a user makes them ----

class EditorMacTest : public ::testing::Test {
protected:
  MacEditorHost host;
};

TEST_F(EditorMacTest, ClickReachesTheEditorInDrawBitmapPixels) {
  OffscreenWindowBackend& window = host.Open();
  // A click at view point (10, 300) of a 315-point editor at scale 1.
  window.press(NSMakePoint(10, 300), NSShiftKeyMask | NSCommandKeyMask);
  window.release(NSMakePoint(10, 300));
  EXPECT_EQ(host.controller->recorder->events, (std::vector<std::string>{"down 8 12", "up 8 12"}));
  const IMouseMod mod = host.controller->recorder->lastMod;
  EXPECT_TRUE(mod.L && mod.R && mod.S);
  EXPECT_FALSE(mod.C || mod.A);

  window.press(NSMakePoint(10, 300), NSAlternateKeyMask | NSControlKeyMask, 1, true);
  const IMouseMod right = host.controller->recorder->lastMod;
  EXPECT_TRUE(!right.L && right.R && right.C && right.A && !right.S);
}

TEST_F(EditorMacTest, KeysMapToEditorCodesAndTheRestGoesOnToTheNextResponder) {
  // The host's own view as parent, so that keys passed on can be seen.
  NSWindow window(NSMakeRect(0, 0, 400, 315), std::make_unique<OffscreenWindowBackend>());
  auto* parent = new HostParentView(NSMakeRect(0, 0, 400, 315));
  window.contentView()->addSubview(parent);
  parent->release();
  host.editor->OpenWindow(parent);
  auto& backend = static_cast<OffscreenWindowBackend&>(*window.backend());
  RecorderControl* recorder = host.controller->recorder;
  backend.move(MacEditorHost::At(5, 5)); // the keys go where the mouse was

  struct Case {
    const char* characters;
    const char* plain;
    std::uint16_t keyCode;
    bool takes;
    const char* editorSees; // null: the editor gets nothing
    const char* passedOn;   // null: the parent gets nothing
  } cases[] = {
      {"a", "a", 0, true, "key 15", nullptr},
      {"A", "A", 0, true, "key 15", nullptr},
      {" ", " ", kVK_Space, true, "key 0", nullptr},
      {"\xEF\x9C\x82", "\xEF\x9C\x82", kVK_LeftArrow, true, "key 3", nullptr},
      {"\xEF\x9C\x80", "\xEF\x9C\x80", kVK_UpArrow, true, "key 1", nullptr},
      {"5", "5", 23, true, "key 10", nullptr},
      {"ab", "ab", 0, true, nullptr, nullptr},             // two glyphs: dropped
      {"\x1b", "\x1b", kVK_Escape, true, nullptr, "\x1b"}, // no editor code: passed on
      {"\xC3\xA9", "\xC3\xA9", 0, true, nullptr, "\xC3\xA9"},
      {"z", "z", 6, false, "key 40", "z"}, // the editor leaves it
  };
  for (const Case& c : cases) {
    recorder->events.clear();
    parent->keys.clear();
    recorder->takesKeys = c.takes;
    backend.key(c.characters, c.plain, c.keyCode);
    EXPECT_EQ(recorder->events,
              c.editorSees ? std::vector<std::string>{c.editorSees} : std::vector<std::string>{})
        << c.characters;
    EXPECT_EQ(parent->keys,
              c.passedOn ? std::vector<std::string>{c.passedOn} : std::vector<std::string>{})
        << c.characters;
  }
  host.editor->CloseWindow();
}

TEST_F(EditorMacTest, WheelStepsAreWholeLinesTowardsZero) {
  OffscreenWindowBackend& window = host.Open();
  // Less than a line is no step at all: the control hears nothing.
  const std::pair<double, const char*> cases[] = {
      {0.5, nullptr}, {1.0, "wheel 1"}, {2.7, "wheel 2"}, {-1.5, "wheel -1"}, {-0.4, nullptr}};
  for (const auto& [deltaY, seen] : cases) {
    host.controller->recorder->events.clear();
    window.scroll(MacEditorHost::At(5, 5), deltaY);
    EXPECT_EQ(host.controller->recorder->events,
              seen ? std::vector<std::string>{seen} : std::vector<std::string>{})
        << deltaY;
  }
}

// ---- text entry ----

TEST_F(EditorMacTest, TextEntryAcceptsOnlyWhatTheParameterCanTake) {
  OffscreenWindowBackend& window = host.Open();
  struct Case {
    int pixelX, pixelY; // the caption to click
    const char* typed;
    const char* accepted;
    int param;
    double plainAfter;
  } cases[] = {
      // Gain, a double: letters refused, an eighth character refused at length 7.
      {60, 160, "a-3.5x", "-3.5", BridgeController::kGain, -3.5},
      {60, 160, "123456789", "1234567", BridgeController::kGain, 12.0},
      // Steps, an int: no decimal point.
      {260, 100, "7.5", "75", BridgeController::kSteps, 10.0},
  };
  for (const Case& c : cases) {
    window.press(MacEditorHost::At(c.pixelX, c.pixelY));
    window.release(MacEditorHost::At(c.pixelX, c.pixelY));
    ASSERT_NE(window.editingField, nullptr) << c.typed;
    EXPECT_TRUE(window.editingField->isTextSelected()); // typing replaces the current value
    EXPECT_EQ(window.type(c.typed), c.accepted);
    EXPECT_EQ(window.editingField->stringValue(), c.accepted);
    host.log->edits.clear();
    window.key("\r", "\r", kVK_Return);
    EXPECT_EQ(window.editingField, nullptr);
    EXPECT_DOUBLE_EQ(host.controller->GetParam(c.param)->Value(), c.plainAfter) << c.typed;
    // The typed value reached the host inside a gesture of its own.
    ASSERT_EQ(host.log->edits.size(), 3u) << c.typed;
    EXPECT_EQ(host.log->edits.front().kind, MacEditorHost::EditCall::Kind::Begin);
    EXPECT_EQ(host.log->edits.back().kind, MacEditorHost::EditCall::Kind::End);
  }
}

TEST_F(EditorMacTest, EscapeCancelsTheTextEntryWithoutAnEditThenReturnStillCommits) {
  OffscreenWindowBackend& window = host.Open();
  // A value finer than the caption shows: putting the shown text back would move it.
  host.controller->setParamNormalized(BridgeController::kGain, 0.123456789);
  host.Run(100);
  const double before = host.controller->getParamNormalized(BridgeController::kGain);
  auto* view = static_cast<IEditorCocoa*>(host.editor->GetWindow());
  ASSERT_NE(view, nullptr);
  const size_t viewsBefore = view->subviews().size();

  window.press(MacEditorHost::At(60, 160));
  window.release(MacEditorHost::At(60, 160));
  ASSERT_NE(window.editingField, nullptr);
  EXPECT_EQ(window.type("-3.5"), "-3.5");
  host.log->edits.clear();
  window.key("\x1b", "\x1b", kVK_Escape);
  host.Run(100);
  EXPECT_EQ(window.editingField, nullptr);
  EXPECT_FALSE(view->IsTextEntryOpen());
  EXPECT_EQ(view->subviews().size(), viewsBefore); // the field is gone
  EXPECT_EQ(window.window->firstResponder(), static_cast<NSResponder*>(view));
  EXPECT_EQ(host.controller->getParamNormalized(BridgeController::kGain), before);
  EXPECT_TRUE(host.log->edits.empty()); // no beginEdit, performEdit or endEdit
  // Escape on the editor itself is no longer the field's: nothing reaches the parameter.
  window.key("\x1b", "\x1b", kVK_Escape);
  EXPECT_TRUE(host.log->edits.empty());

  // The next entry commits with Return as before.
  window.press(MacEditorHost::At(60, 160));
  window.release(MacEditorHost::At(60, 160));
  ASSERT_NE(window.editingField, nullptr);
  window.type("2.5");
  host.log->edits.clear(); // the click's own gesture
  window.key("\r", "\r", kVK_Return);
  EXPECT_EQ(window.editingField, nullptr);
  EXPECT_DOUBLE_EQ(host.controller->GetParam(BridgeController::kGain)->Value(), 2.5);
  ASSERT_EQ(host.log->edits.size(), 3u);
  EXPECT_EQ(host.log->edits.front().kind, MacEditorHost::EditCall::Kind::Begin);
  EXPECT_EQ(host.log->edits.back().kind, MacEditorHost::EditCall::Kind::End);
}

TEST_F(EditorMacTest, ScaleChangeWithATextEntryOpenEndsTheEntryFirst) {
  OffscreenWindowBackend& window = host.Open();
  window.press(MacEditorHost::At(60, 160));
  window.release(MacEditorHost::At(60, 160));
  ASSERT_NE(window.editingField, nullptr);
  window.type("5");
  window.setBackingScaleFactor(2.0);
  window.window->displayRect({0, 0, 800, 630});
  host.Run(100);
  EXPECT_EQ(window.editingField, nullptr);
  EXPECT_EQ(host.editor->Width(), 800);
  // The ended entry did not touch the deleted caption; typing now goes nowhere.
  window.key("7", "7", 26);
  EXPECT_DOUBLE_EQ(host.controller->GetParam(BridgeController::kGain)->Value(), 0.0);
}

// ---- pop-up menus ----

TEST_F(EditorMacTest, PopupShowsNumberedItemsAndReturnsTheSubmenuChosenIn) {
  OffscreenWindowBackend& window = host.Open();
  IPopupMenu menu;
  menu.SetPrefix(2);
  menu.AddItem("Soft", IPopupMenu::kAppend, IPopupMenuItem::kChecked);
  menu.AddSeparator(IPopupMenu::kAppend);
  auto* more = new IPopupMenu;
  more->SetPrefix(3); // each menu numbers its own items
  more->AddItem("Gentle", IPopupMenu::kAppend, 0);
  more->AddItem("Brutal", IPopupMenu::kAppend, IPopupMenuItem::kDisabled);
  more->AddItem("Crisp", IPopupMenu::kAppend, IPopupMenuItem::kTitle);
  menu.AddItem("More", IPopupMenu::kAppend, more);
  // The user opens "More" and picks its third item.
  window.respondToMenu = [](NSMenu* shown, NSPoint) {
    return shown->itemAtIndex(2)->submenu()->itemAtIndex(2);
  };
  IRECT at(100, 50, 100, 50);
  IPopupMenu* chosen = host.editor->CreateIPopupMenu(&menu, &at);
  EXPECT_EQ(chosen, more);
  EXPECT_EQ(more->GetChosenItemIdx(), 2);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  ASSERT_EQ(window.menus.size(), 1u);
  EXPECT_EQ(window.menus[0].titles,
            (std::vector<std::string>{"01: Soft [on]", "---", "03: More >", "  001: Gentle",
                                      "  002: Brutal [disabled]", "  003: Crisp"}));

  window.respondToMenu = nullptr; // dismissed
  EXPECT_EQ(host.editor->CreateIPopupMenu(&menu, &at), nullptr);
}

TEST_F(EditorMacTest, MenuOpensAtTheSameViewPointAtEveryScale) {
  OffscreenWindowBackend& window = host.Open();
  IPopupMenu menu;
  menu.AddItem("One", IPopupMenu::kAppend, 0);
  IRECT at(100, 50, 100, 50);
  host.editor->CreateIPopupMenu(&menu, &at);
  window.setBackingScaleFactor(2.0);
  window.window->displayRect({0, 0, 800, 630});
  host.Run(100);
  ASSERT_EQ(host.editor->GetDrawScale(), 2.0);
  IRECT doubled(200, 100, 200, 100);
  host.editor->CreateIPopupMenu(&menu, &doubled);
  ASSERT_EQ(window.menus.size(), 2u);
  // (100, 50) in pixels is view point (100, 315 - 50 - 1) and opens 4 points lower.
  EXPECT_DOUBLE_EQ(window.menus[0].location.x, 100.0);
  EXPECT_DOUBLE_EQ(window.menus[0].location.y, 260.0);
  EXPECT_DOUBLE_EQ(window.menus[1].location.x, window.menus[0].location.x);
  EXPECT_NEAR(window.menus[1].location.y, window.menus[0].location.y, 0.5);
}

TEST_F(EditorMacTest, ClickOnAMenuCaptionSetsTheChosenValueInsideThePressGesture) {
  OffscreenWindowBackend& window = host.Open();
  window.respondToMenu = [](NSMenu* shown, NSPoint) { return shown->itemAtIndex(2); };
  window.press(MacEditorHost::At(260, 50));
  // The menu took the release; the gesture is closed all the same.
  ASSERT_EQ(window.menus.size(), 1u);
  EXPECT_EQ(window.menus[0].titles, (std::vector<std::string>{"Soft", "Medium [on]", "Hard"}));
  EXPECT_DOUBLE_EQ(host.controller->GetParam(BridgeController::kMode)->Value(), 2.0);
  using Kind = MacEditorHost::EditCall::Kind;
  std::vector<Kind> kinds;
  for (const auto& e : host.log->edits)
    kinds.push_back(e.kind);
  EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Begin, Kind::Perform, Kind::End}));
}

// ---- redraws ----

TEST_F(EditorMacTest, RedrawsOnlyWhenSomethingIsDirty) {
  OffscreenWindowBackend& window = host.Open();
  ASSERT_FALSE(window.presented.empty()); // the first frame
  const size_t presented = window.presented.size();
  host.Run(400); // ten frames with nothing changed
  EXPECT_EQ(window.presented.size(), presented);

  host.controller->setParamNormalized(BridgeController::kGain, 0.9);
  host.controller->SetGUIParameterFromPlug(BridgeController::kGain, true, 0.9);
  host.Run(45); // one frame of 40 ms, and the display that follows it
  ASSERT_EQ(window.presented.size(), presented + 1);
  // The knob's area (and the caption's), not the whole window.
  const NSWindowBackend::PixelRect area = window.presented.back();
  EXPECT_LE(area.x, 40);
  EXPECT_GE(area.x + area.width, 200);
  EXPECT_LT(area.width * area.height, 400 * 315);
}

TEST_F(EditorMacTest, ScaleChangeRebuildsTheControlsAndKeepsValuesAndViewSize) {
  OffscreenWindowBackend& window = host.Open();
  host.controller->setParamNormalized(BridgeController::kGain, 0.75);
  host.controller->SetGUIParameterFromPlug(BridgeController::kGain, true, 0.75);
  host.controller->setParamNormalized(BridgeController::kPower, 1.0);
  host.controller->SetGUIParameterFromPlug(BridgeController::kPower, true, 1.0);
  struct Step {
    double scale;
    int width, height, layouts;
  } steps[] = {{2.0, 800, 630, 2}, {1.0, 400, 315, 3}};
  for (const Step& step : steps) {
    window.setBackingScaleFactor(step.scale);
    window.window->displayRect({0, 0, 800, 630});
    host.Run(100);
    EXPECT_EQ(host.editor->GetDrawScale(), step.scale);
    EXPECT_EQ(host.editor->Width(), step.width);
    EXPECT_EQ(host.editor->Height(), step.height);
    EXPECT_EQ(host.controller->layouts, step.layouts);
    EXPECT_DOUBLE_EQ(host.controller->knob->GetValue(), 0.75) << step.scale;
    EXPECT_DOUBLE_EQ(host.controller->powerSwitch->GetValue(), 1.0) << step.scale;
    EXPECT_EQ(*host.controller->knob->GetRECT(),
              IRECT(int(40 * step.scale), int(40 * step.scale), int(120 * step.scale),
                    int(120 * step.scale)));
    // The view keeps its size in points; the X11 host measures it in device pixels.
    ViewRect size;
    ASSERT_EQ(host.view->getSize(&size), kResultOk);
    EXPECT_EQ(size.getWidth(), int(400 * step.scale));
    EXPECT_EQ(size.getHeight(), int(315 * step.scale));
    auto* view = static_cast<NSView*>(host.editor->GetWindow());
    EXPECT_DOUBLE_EQ(view->frame().size.width, 400.0);
    EXPECT_DOUBLE_EQ(view->frame().size.height, 315.0);
    EXPECT_EQ(window.pixelWidth, int(400 * step.scale));
  }
  // No rebuild pushed anything to the host.
  EXPECT_TRUE(host.log->edits.empty());
}

// The first frame the window shows at a new scale is the editor drawn at that scale, never
// the freshly made (blank) draw bitmap: it already equals the frame after everything settled.
TEST_F(EditorMacTest, TheFirstFrameAtANewScaleIsTheEditor) {
  OffscreenWindowBackend& window = host.Open();
  host.Run(100);
  window.setBackingScaleFactor(2.0);
  window.window->displayRect({0, 0, 800, 630});
  int w = 0, h = 0;
  const std::vector<std::uint8_t> first = window.rgba(w, h);
  ASSERT_EQ(w, 800);
  host.Run(200);
  window.window->displayRect({0, 0, 800, 630});
  int w2 = 0, h2 = 0;
  const std::vector<std::uint8_t> settled = window.rgba(w2, h2);
  ASSERT_EQ(first.size(), settled.size());
  size_t differing = 0;
  for (size_t i = 0; i < first.size(); i += 4)
    differing += std::memcmp(&first[i], &settled[i], 4) != 0;
  EXPECT_EQ(differing, 0u);
}

// A right press on a bound control asks the host for its menu while the button is still
// down: the window has let go of the pointer by then, so that the host's menu can grab it.
TEST_F(EditorMacTest, TheHostsContextMenuFindsThePointerFree) {
  OffscreenWindowBackend& window = host.Open();
  std::optional<bool> capturedDuringMenu;
  host.log->pickContextMenuItem =
      [&](const std::vector<Steinberg::Vst::IContextMenuItem>&) -> std::optional<size_t> {
    capturedDuringMenu = window.pointerCaptured;
    return std::nullopt;
  };
  window.press(NSMakePoint(80, 235), 0, 1, true); // the knob's centre, pixel (80, 80)
  ASSERT_EQ(host.log->contextMenus.size(), 1u);
  ASSERT_TRUE(capturedDuringMenu.has_value());
  EXPECT_FALSE(*capturedDuringMenu);
  window.release(NSMakePoint(80, 235), 0, true);
  EXPECT_FALSE(window.pointerCaptured);
}

// ---- dialogs ----

TEST_F(EditorMacTest, MessageBoxTypesShowTheirButtonsAndAnswerWithTheirCodes) {
  OffscreenWindowBackend& window = host.Open();
  struct Case {
    int type;
    std::vector<std::string> buttons;
    std::vector<int> results; // per button pressed
  } cases[] = {
      {0, {"OK"}, {1}},
      {1, {"OK", "Cancel"}, {1, 2}},
      {3, {"Yes", "Cancel", "No"}, {6, 2, 7}},
      {4, {"Yes", "No"}, {6, 7}},
      {5, {"Retry", "Cancel"}, {4, 2}},
  };
  for (const Case& c : cases) {
    for (size_t pressed = 0; pressed < c.results.size(); ++pressed) {
      window.alerts.clear();
      window.respondToAlert = [pressed](const NSWindowBackend::AlertRequest&) {
        return (int)pressed;
      };
      EXPECT_EQ(host.editor->ShowMessageBox("Really reset?", "OrvaneEQ", c.type),
                c.results[pressed])
          << c.type << " " << pressed;
      ASSERT_EQ(window.alerts.size(), 1u);
      EXPECT_EQ(window.alerts[0].buttons, c.buttons);
      EXPECT_EQ(window.alerts[0].title, "OrvaneEQ");
      EXPECT_EQ(window.alerts[0].message, "Really reset?");
    }
  }
  window.alerts.clear();
  for (int type : {2, 6, -1})
    EXPECT_EQ(host.editor->ShowMessageBox("x", "y", type), 0) << type;
  EXPECT_TRUE(window.alerts.empty());
  // A message with printf-like text is shown as it is.
  host.editor->ShowMessageBox("100% %s %@", "t", 0);
  ASSERT_EQ(window.alerts.size(), 1u);
  EXPECT_EQ(window.alerts[0].message, "100% %s %@");
}

TEST_F(EditorMacTest, FilePromptsOnlyWithAnOpenWindow) {
  KIT_String name, directory;
  name.Set("stale");
  host.editor->PromptForFile(&name, 1, &directory, "fxp");
  EXPECT_STREQ(name.Get(), "");
  EXPECT_EQ(OffscreenWindowBackend::LastMade(), nullptr); // no window, no panel

  OffscreenWindowBackend& window = host.Open();
  window.respondToFilePanel = [](const NSWindowBackend::FilePanelRequest&, std::string& path) {
    path = "/tmp/presets/Warm.fxp";
    return true;
  };
  directory.Set("");
  host.editor->PromptForFile(&name, 1, &directory, "fxp  fxb");
  ASSERT_EQ(window.filePanels.size(), 1u);
  const NSWindowBackend::FilePanelRequest& save = window.filePanels[0];
  EXPECT_TRUE(save.save);
  EXPECT_EQ(save.allowedTypes, (std::vector<std::string>{"fxp", "fxb"}));
  ASSERT_NE(std::getenv("HOME"), nullptr);
  EXPECT_EQ(save.directory, std::string(std::getenv("HOME")) + "/Desktop");
  EXPECT_STREQ(name.Get(), "/tmp/presets/Warm.fxp");
  EXPECT_STREQ(directory.Get(), "/tmp/presets/");

  window.respondToFilePanel = nullptr; // cancel
  host.editor->PromptForFile(&name, 0, &directory, "");
  ASSERT_EQ(window.filePanels.size(), 2u);
  EXPECT_FALSE(window.filePanels[1].save);
  EXPECT_TRUE(window.filePanels[1].chooseFiles && !window.filePanels[1].chooseDirectories);
  EXPECT_TRUE(window.filePanels[1].resolvesAliases);
  EXPECT_EQ(window.filePanels[1].directory, "/tmp/presets/");
  EXPECT_STREQ(name.Get(), "");

  directory.Set("");
  EXPECT_FALSE(host.editor->PromptForDirectory(&directory));
  EXPECT_STREQ(directory.Get(), "");
  const NSWindowBackend::FilePanelRequest& folder = window.filePanels.back();
  EXPECT_EQ(folder.title, "Choose a Directory");
  EXPECT_TRUE(!folder.chooseFiles && folder.chooseDirectories && folder.canCreateDirectories);
  window.respondToFilePanel = [](const NSWindowBackend::FilePanelRequest&, std::string& path) {
    path = "/tmp/presets";
    return true;
  };
  EXPECT_TRUE(host.editor->PromptForDirectory(&directory));
  EXPECT_STREQ(directory.Get(), "/tmp/presets/");
}

TEST_F(EditorMacTest, OpenURLReportsWhetherAnythingWasOpened) {
  std::vector<std::string> opened;
  bool openerAnswer = true;
  NSWorkspace::sharedWorkspace()->setOpener([&](const std::string& url) {
    opened.push_back(url);
    return openerAnswer;
  });
  struct Case {
    const char* text;
    bool result;
    const char* handedOver; // null: nothing was opened
  } cases[] = {
      {"https://orvane.example/manual", true, "https://orvane.example/manual"},
      {"/tmp/Orvane Manual.pdf", true, "file:///tmp/Orvane%20Manual.pdf"},
      {"", false, nullptr},
      {nullptr, false, nullptr},
      {"http://bad address", false, nullptr},
  };
  for (const Case& c : cases) {
    opened.clear();
    EXPECT_EQ(host.editor->OpenURL(c.text), c.result) << (c.text ? c.text : "null");
    EXPECT_EQ(opened,
              c.handedOver ? std::vector<std::string>{c.handedOver} : std::vector<std::string>{});
  }
  openerAnswer = false;
  EXPECT_FALSE(host.editor->OpenURL("https://orvane.example"));
  NSWorkspace::sharedWorkspace()->setOpener(nullptr);
}

TEST_F(EditorMacTest, ClipboardAndCursor) {
  KIT_String text;
  NSPasteboard::generalPasteboard()->clearContents();
  EXPECT_FALSE(host.editor->GetTextFromClipboard(&text));
  NSPasteboard::generalPasteboard()->setString("-6.5");
  EXPECT_TRUE(host.editor->GetTextFromClipboard(&text));
  EXPECT_STREQ(text.Get(), "-6.5");
  NSPasteboard::generalPasteboard()->clearContents();

  OffscreenWindowBackend& window = host.Open();
  window.press(MacEditorHost::At(5, 5)); // the window becomes the key window
  window.pointerX = 300;
  window.pointerY = 200;
  host.editor->HideMouseCursor(true);
  host.editor->HideMouseCursor(true); // once only
  EXPECT_EQ(window.hides, 1);
  window.pointerX = 10; // the pointer moved while hidden
  host.editor->ShowMouseCursor();
  EXPECT_EQ(window.shows, 1);
  EXPECT_EQ(window.warps, (std::vector<std::pair<int, int>>{{300, 200}}));
  host.editor->ShowMouseCursor();
  EXPECT_EQ(window.shows, 1);
}

// ---- the view's life ----

TEST_F(EditorMacTest, ViewIsReleasedByCloseAndByRemovalWithoutRecursion) {
  NSWindow window(NSMakeRect(0, 0, 400, 315), nullptr);
  // Closed by the editor.
  void* view = host.editor->OpenWindow(window.contentView());
  ASSERT_TRUE(NSView::isLiveView(view));
  EXPECT_EQ(host.editor->GetWindowKind(), IEditorMac::kWindowKindCocoa);
  EXPECT_EQ(window.contentView()->subviews().size(), 1u);
  host.editor->CloseWindow();
  EXPECT_FALSE(NSView::isLiveView(view));
  EXPECT_TRUE(window.contentView()->subviews().empty());
  host.editor->CloseWindow();

  // Removed by the host.
  view = host.editor->OpenWindow(window.contentView());
  static_cast<NSView*>(view)->removeFromSuperview();
  EXPECT_FALSE(NSView::isLiveView(view));
  EXPECT_FALSE(host.editor->WindowIsOpen());

  // Opened without a parent (a handle that is no view), then closed.
  view = host.editor->OpenWindow(reinterpret_cast<void*>(0x1234));
  ASSERT_TRUE(NSView::isLiveView(view));
  EXPECT_EQ(static_cast<NSView*>(view)->superview(), nullptr);
  host.editor->CloseWindow();
  EXPECT_FALSE(NSView::isLiveView(view));
}

TEST_F(EditorMacTest, HostWindowGoesWithTheView) {
  OffscreenWindowBackend& window = host.Open();
  EXPECT_EQ(window.pixelWidth, 400);
  EXPECT_EQ(window.pixelHeight, 315);
  void* editorView = host.editor->GetWindow();
  host.Close();
  EXPECT_EQ(OffscreenWindowBackend::LastMade(), nullptr); // detached and gone
  EXPECT_FALSE(NSView::isLiveView(editorView));
  EXPECT_FALSE(host.editor->WindowIsOpen());
}

TEST_F(EditorMacTest, X11ParentsNeedAWindowBackend) {
  NSWindowBackend::RegisterFactory(NSWindowBackend::Kind::X11, nullptr);
  Steinberg::IPlugView* view = host.controller->createView("editor");
  EXPECT_EQ(view->isPlatformTypeSupported(Steinberg::kPlatformTypeX11EmbedWindowID),
            Steinberg::kResultFalse);
  EXPECT_EQ(
      view->attached(reinterpret_cast<void*>(0x5a11), Steinberg::kPlatformTypeX11EmbedWindowID),
      Steinberg::kResultFalse);
  EXPECT_FALSE(host.editor->WindowIsOpen());
  EXPECT_EQ(host.controller->guiOpened, 0);
  view->release();
}

} // namespace

namespace {

using namespace guitest;

// The window shows the draw bitmap pixel for pixel, upright, at either density, and a panel
// keeps its size in view points.
TEST(EditorMacRendering, WindowShowsTheDrawBitmapAtOneAndTwoTimes) {
  MacEditorHost host;
  OffscreenWindowBackend& window = host.Open();
  host.controller->setParamNormalized(BridgeController::kGain, 0.8);
  host.controller->SetGUIParameterFromPlug(BridgeController::kGain, true, 0.8);
  host.Run(100);
  std::map<double, int> panelPixels;
  for (double scale : {1.0, 2.0}) {
    window.setBackingScaleFactor(scale);
    window.window->displayRect({0, 0, 800, 630});
    host.Run(200);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgba = window.rgba(width, height);
    ASSERT_EQ(width, host.editor->Width());
    ASSERT_EQ(height, host.editor->Height());
    SaveRgbaPng(rgba, width, height,
                std::string(ORVANE_TEST_OUTPUT) + "/platform_window_" + std::to_string(int(scale)) +
                    "x.png");
    int mismatches = 0;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        const IColor drawn = host.editor->GetPoint(x, y);
        const std::uint8_t* shown = &rgba[(size_t(y) * width + x) * 4];
        if (shown[0] != drawn.R || shown[1] != drawn.G || shown[2] != drawn.B)
          ++mismatches;
        if (shown[0] == 200 && shown[1] == 60 && shown[2] == 60) // the switch's red panel
          ++panelPixels[scale];
      }
    EXPECT_EQ(mismatches, 0) << scale;
  }
  // 60 x 60 view points.
  EXPECT_EQ(panelPixels[1.0], 60 * 60);
  EXPECT_EQ(panelPixels[2.0], 120 * 120);
}

} // namespace

namespace {

using namespace guitest;

TEST(EditorMacServices, ToolTipsFollowTheVisibleControlsThatHaveOne) {
  MacEditorHost host;
  host.Open();
  host.editor->EnableTooltips(true);
  host.controller->knob->SetTooltip("Gain");
  host.controller->stepsCaption->SetTooltip("Steps");
  host.controller->stepsCaption->Hide(true);
  host.editor->UpdateTooltips();
  auto* view = static_cast<NSView*>(host.editor->GetWindow());
  EXPECT_EQ(view->toolTipCount(), 1u);
  // The tip shown is that of the control under the pointer.
  host.editor->HandleMouseOver(true);
  host.backend->move(MacEditorHost::At(80, 80));
  EXPECT_EQ(view->toolTipAt(MacEditorHost::At(80, 80)), "Gain");
  host.backend->move(MacEditorHost::At(300, 250));
  EXPECT_EQ(view->toolTipAt(MacEditorHost::At(80, 80)), "");
}

TEST(EditorMacServices, PresetFoldersAreNamedAfterMakerAndProduct) {
  MacEditorHost host;
  setenv("XDG_DATA_HOME", "/srv/share", 1);
  KIT_String path;
  host.editor->PresetsPath(&path, false);
  EXPECT_STREQ(path.Get(), "/srv/share/Audio/Presets/Orvane/Bridge Test/");
  host.editor->PresetsPath(&path, true);
  EXPECT_STREQ(path.Get(), "/usr/local/share/Audio/Presets/Orvane/Bridge Test/");
  unsetenv("XDG_DATA_HOME");
}

TEST(EditorMacServices, OnlyPngResourcesAreLoaded) {
  EXPECT_EQ(IEditorMac::LoadPNGFromBundle("com.orvane.test", nullptr), nullptr);
  EXPECT_EQ(IEditorMac::LoadPNGFromBundle("com.orvane.test", "face.jpg"), nullptr);
  EXPECT_EQ(IEditorMac::LoadPNGFromBundle("com.orvane.test", "face"), nullptr);
  EXPECT_EQ(IEditorMac::LoadPNGFromBundle("com.orvane.test", "missing.png"), nullptr);
  EXPECT_EQ(IEditorMac::LoadPNGFromBundle("", "missing.png"), nullptr);
}

} // namespace

namespace {

using namespace guitest;

// The field of a prompt lies where the prompt's pixel rectangle lies in view points, at either
// scale, and is drawn over the editor. The Gain caption prompts in a 30 x 16 pixel box round
// its centre: (105, 157, 135, 173) at 1x and (225, 322, 255, 338) at 2x.
TEST(EditorMacRendering, TextEntryKeepsItsPlaceInViewPointsAtEveryScale) {
  MacEditorHost host;
  OffscreenWindowBackend& window = host.Open();
  std::vector<NSRect> frames;
  for (double scale : {1.0, 2.0}) {
    window.setBackingScaleFactor(scale);
    window.window->displayRect({0, 0, 800, 630});
    host.Run(200);
    window.press(MacEditorHost::At(60, 160));
    window.release(MacEditorHost::At(60, 160));
    ASSERT_NE(window.editingField, nullptr) << scale;
    frames.push_back(window.editingField->frame());
    window.type("-4.25");
    host.Run(100);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> rgba = window.rgba(width, height);
    SaveRgbaPng(rgba, width, height,
                std::string(ORVANE_TEST_OUTPUT) + "/platform_textentry_" +
                    std::to_string(int(scale)) + "x.png");
    // The field's white background shows just inside its bottom left corner, below the text.
    const NSRect f = frames.back();
    const int row = int((LayoutController::kHeight - (f.origin.y + 1.5)) * scale);
    const std::uint8_t* left = &rgba[(size_t(row) * width + int((f.origin.x + 1) * scale)) * 4];
    EXPECT_EQ(left[0] + left[1] + left[2], 3 * 255) << scale;
    window.key("\x1b", "\x1b", kVK_Escape);
  }
  const NSRect expected[] = {NSMakeRect(105, 141, 31, 17), NSMakeRect(112.5, 145, 16, 9)};
  for (int i = 0; i < 2; ++i) {
    EXPECT_DOUBLE_EQ(frames[i].origin.x, expected[i].origin.x) << i;
    EXPECT_DOUBLE_EQ(frames[i].origin.y, expected[i].origin.y) << i;
    EXPECT_DOUBLE_EQ(frames[i].size.width, expected[i].size.width) << i;
    EXPECT_DOUBLE_EQ(frames[i].size.height, expected[i].size.height) << i;
  }
}

} // namespace
