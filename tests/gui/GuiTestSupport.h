#pragma once
// What the toolkit tests stand on: a controller that records the editor's calls, an editor
// whose back end draws into its memory bitmap and loads the test PNGs, and a control that
// records the events it gets.

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "framework/IParam.h"
#include "gui/IControl.h"
#include "gui/IEditor.h"
#include "gui/IEditorDelegate.h"
#include "raster/png/PIX_PNG.h"

namespace guitest {

// The folder of the PNGs make_test_pngs.py wrote.
inline std::string ResourcePath(const char* name) {
  return std::string(ORVANE_GUI_TEST_PNGS) + "/" + name;
}

// "word n1 n2 ...": the entries of the call logs.
inline std::string Entry(const char* word, std::initializer_list<int> numbers) {
  std::string out(word);
  for (int n : numbers) {
    out.push_back(' ');
    out.append(std::to_string(n));
  }
  return out;
}

class FakeController : public IEditorDelegate {
public:
  // n double parameters 0-100 ("P0", "P1", ...) with the label "u".
  explicit FakeController(int n = 4) {
    for (int i = 0; i < n; ++i) {
      auto p = std::make_unique<IParam>();
      char name[16];
      std::snprintf(name, sizeof name, "P%d", i);
      p->InitDouble(name, "u", "", false, 0.0, 0.0, 100.0, 0.1);
      params.push_back(std::move(p));
    }
  }

  IParam* GetParam(int idx) const override {
    return idx >= 0 && idx < (int)params.size() ? params[idx].get() : nullptr;
  }
  int NParams() const override { return (int)params.size(); }
  void BeginEdit(int idx) override { log.push_back(Entry("begin", {idx})); }
  void EndEdit(int idx) override { log.push_back(Entry("end", {idx})); }
  void SetParameterFromGUI(int idx, double v) override {
    log.push_back(Entry("set", {idx}));
    lastValue = v;
  }
  void PopupHostContextMenu(int control, int param, int x, int y) override {
    log.push_back(Entry("menu", {control, param, x, y}));
  }
  IEditor* GetGUI() override { return gui; }

  // Only the edit gestures, in order.
  std::vector<std::string> Gestures() const {
    std::vector<std::string> out;
    for (const auto& s : log)
      if (s.rfind("begin", 0) == 0 || s.rfind("end", 0) == 0)
        out.push_back(s);
    return out;
  }

  std::vector<std::unique_ptr<IParam>> params;
  std::vector<std::string> log;
  double lastValue = -1.0;
  IEditor* gui = nullptr;
};

// The back end of the tests: the screen is the draw bitmap itself, resources are the test PNGs.
class TestEditor : public IEditor {
public:
  TestEditor(FakeController* controller, int w, int h, int fps = 0)
      : IEditor(controller, w, h, fps) {
    controller->gui = this;
  }

  bool DrawScreen(const IRECT& rect) override {
    screenRects.push_back(rect);
    return true;
  }
  void EndTextEntry() override {}
  int GetWindowKind() override { return 0; }
  int ShowMessageBox(const char*, const char*, int) override { return 0; }
  IPopupMenu* CreateIPopupMenu(IPopupMenu*, IRECT*) override { return nullptr; }
  void CreateTextEntry(IControl*, IText*, IRECT*, const char*, IParam*) override {}
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
  bool OpenURL(const char* url, const char*, const char*, const char*) override {
    urls.push_back(url);
    return openURLResult;
  }
  void* OpenWindow(void*) override { return nullptr; }
  void CloseWindow() override {}
  void* GetWindow() override { return nullptr; }
  bool GetTextFromClipboard(KIT_String*) override { return false; }
  void ShowMouseCursor() override { ++cursorShown; }
  void UpdateTooltips() override {}
  PIX_IBitmap* LoadPlatformBitmap(int id, const char* name) override {
    loads.push_back(id);
    return name ? PIX_LoadPNG(ResourcePath(name).c_str(), nullptr) : nullptr;
  }

  // One timer tick of the back end: poll, and draw when dirty.
  bool Tick() {
    IRECT r;
    if (!IsDirty(&r))
      return false;
    Draw(&r);
    return true;
  }

  std::vector<IRECT> screenRects;
  std::vector<int> loads;
  std::vector<std::string> urls;
  bool openURLResult = true;
  int cursorShown = 0;
};

// A control that records what reaches it and counts its draws.
class ProbeControl : public IControl {
public:
  using IControl::IControl;

  void OnMouseDown(int x, int y, const IMouseMod& mod) override {
    events.push_back("down");
    lastMod = mod;
    IControl::OnMouseDown(x, y, mod);
  }
  void OnMouseUp(int, int, const IMouseMod&) override { events.push_back("up"); }
  void OnMouseDrag(int, int, int dX, int dY, const IMouseMod&) override {
    events.push_back(Entry("drag", {dX, dY}));
  }
  void OnMouseDblClick(int, int, const IMouseMod&) override { events.push_back("dbl"); }
  void OnMouseWheel(int x, int y, const IMouseMod& mod, int d) override {
    events.push_back("wheel");
    IControl::OnMouseWheel(x, y, mod, d);
  }
  bool OnKeyDown(int, int, int key) override {
    events.push_back(Entry("key", {key}));
    return takesKeys;
  }
  void OnMouseOver(int, int, const IMouseMod&) override { events.push_back("over"); }
  void OnMouseOut() override { events.push_back("out"); }
  bool Draw(IEditor*) override {
    ++draws;
    return true;
  }

  std::vector<std::string> events;
  IMouseMod lastMod;
  int draws = 0;
  bool takesKeys = true;
};

inline IMouseMod LeftButton() {
  IMouseMod m;
  m.L = true;
  return m;
}

// Saves a bitmap as an RGBA PNG for looking at.
void SavePng(PIX_IBitmap* bitmap, const std::string& path);
// Saves RGBA rows (top row first) as a PNG.
void SaveRgbaPng(const std::vector<uint8_t>& rgba, int width, int height, const std::string& path);

} // namespace guitest
