#pragma once
// What the menu, prompt and bridge tests stand on: a back end that records its windows and
// answers pop-up menus and text entries from a script (as a user would), and an editor
// controller with one parameter of every type.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/IParam.h"
#include "gui/IControl.h"
#include "gui/IEditor.h"
#include "gui/IEditorController.h"
#include "gui/IEditorDelegate.h"
#include "gui/IPopupMenu.h"

namespace guitest {

// The user's answer to a pop-up menu: the menu the chosen item lies in (the shown one or one
// of its submenus) and the item's index there; nothing for a dismissed menu.
struct MenuChoice {
  IPopupMenu* menu;
  int index;
};
using MenuResponder = std::function<std::optional<MenuChoice>(IPopupMenu& shown)>;

class ScriptedEditor : public IEditor {
public:
  ScriptedEditor(IEditorDelegate* controller, int w, int h) : IEditor(controller, w, h) {}

  // Runs the menu as a back end does: the responder picks, the choice is written into the
  // menu it belongs to, and that menu is returned.
  IPopupMenu* CreateIPopupMenu(IPopupMenu* menu, IRECT* rect) override {
    shownMenus.push_back(Snapshot(*menu));
    menuRects.push_back(*rect);
    const std::optional<MenuChoice> choice = respondToMenu ? respondToMenu(*menu) : std::nullopt;
    if (!choice)
      return nullptr;
    choice->menu->SetChosenItemIdx(choice->index);
    return choice->menu;
  }
  // A text entry that the scripted user finishes at once, as the back end reports it.
  void CreateTextEntry(IControl* control, IText*, IRECT*, const char* str, IParam* param) override {
    textEntries.push_back(str);
    textEntryParams.push_back(param);
    if (typedText)
      SetFromStringAfterPrompt(control, param, typedText->c_str());
  }
  void* OpenWindow(void* parent) override {
    ++windowsOpened;
    window = parent;
    return parent;
  }
  void* OpenHIViewWindow(void*) override {
    ++hiViewWindowsOpened;
    return nullptr;
  }
  void CloseWindow() override {
    ++windowsClosed;
    window = nullptr;
  }
  void* GetWindow() override { return window; }

  bool DrawScreen(const IRECT&) override { return true; }
  void EndTextEntry() override {}
  int GetWindowKind() override { return 0; }
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  void HostPath(KIT_String*) override {}
  void PluginPath(KIT_String*) override {}
  void DesktopPath(KIT_String*) override {}
  void PresetsPath(KIT_String*, bool) override {}
  bool RevealPathInFinder(KIT_String*, bool) override { return false; }
  void AppSupportPath(KIT_String*, bool) override {}
  void MusicPath(KIT_String*) override {}
  void PromptForFile(KIT_String*, int, KIT_String*, const char*) override {}
  bool PromptForDirectory(KIT_String*) override { return false; }
  bool PromptForColor(IColor*, const char*) override { return false; }
  bool OpenURL(const char*, const char*, const char*, const char*) override { return false; }
  bool GetTextFromClipboard(KIT_String*) override { return false; }
  void UpdateTooltips() override {}
  PIX_IBitmap* LoadPlatformBitmap(int, const char*) override { return nullptr; }

  // "text" or "text [checked] [disabled] [separator]" per item of a shown menu.
  static std::vector<std::string> Snapshot(const IPopupMenu& menu) {
    std::vector<std::string> items;
    for (int i = 0; i < menu.GetNItems(); ++i) {
      const IPopupMenuItem* item = menu.GetItem(i);
      std::string s = item->GetText();
      if (item->IsChecked())
        s += " [checked]";
      if (item->IsDisabled())
        s += " [disabled]";
      items.push_back(s);
    }
    return items;
  }

  MenuResponder respondToMenu;
  std::optional<std::string> typedText; // none: the entry stays open
  std::vector<std::vector<std::string>> shownMenus;
  std::vector<IRECT> menuRects;
  std::vector<std::string> textEntries;
  std::vector<IParam*> textEntryParams;
  int windowsOpened = 0, hiViewWindowsOpened = 0, windowsClosed = 0;
  void* window = nullptr;
};

// The user picks item index of the shown menu itself.
inline MenuResponder Pick(int index) {
  return [index](IPopupMenu& menu) { return std::optional<MenuChoice>(MenuChoice{&menu, index}); };
}

// A control whose context menu has the items given, and which records what it was told.
class MenuControl : public IControl {
public:
  MenuControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx)
      : IControl(controller, rect, paramIdx) {}

  bool Draw(IEditor*) override { return true; }
  void CreateContextMenu(IPopupMenu* menu) override {
    for (const auto& [text, flags] : items)
      menu->AddItem(text.c_str(), IPopupMenu::kAppend, flags);
  }
  void OnContextMenuItem(int tag) override { chosenTags.push_back(tag); }
  void SetValue(bool push, double value) override {
    IControl::SetValue(push, value);
    values.push_back({push, value});
  }

  std::vector<std::pair<std::string, int>> items;
  std::vector<int> chosenTags;
  std::vector<std::pair<bool, double>> values;
};

// Parameters: 0 "Gain" double -12..12 dB, 1 "Mode" enum of three named values, 2 "Power" bool
// without names, 3 "Steps" int 0..10.
class BridgeController : public IEditorController {
public:
  enum { kGain, kMode, kPower, kSteps, kNumParams };

  explicit BridgeController(int api = kAPIVST3)
      : IEditorController(Steinberg::FUID(1, 2, 3, 4), kNumParams, 1, "Bridge Test", "Bridge Test",
                          "Orvane", "Fx", 0x10000, 0x74737431, 0x4F52564E, 0, false, false, false,
                          api) {
    GetParam(kGain)->InitDouble("Gain", "dB", "", false, 0.0, -12.0, 12.0, 0.1);
    GetParam(kMode)->InitEnum("Mode", 1, 3);
    GetParam(kMode)->SetDisplayText(0, "Soft");
    GetParam(kMode)->SetDisplayText(1, "Medium");
    GetParam(kMode)->SetDisplayText(2, "Hard");
    GetParam(kPower)->InitBool("Power", false);
    GetParam(kSteps)->InitInt("Steps", 5, 0, 10);
  }

  void OnGUIOpen() override { ++guiOpened; }
  void OnGUIClose() override { ++guiClosed; }

  int guiOpened = 0, guiClosed = 0;
};

} // namespace guitest
