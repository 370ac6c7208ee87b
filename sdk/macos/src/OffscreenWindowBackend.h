// The window system of tests: the window's pixels stay in memory, input events are injected
// by the test (in window points, as AppKit delivers them), and every modal question (pop-up
// menus, alerts, file panels) is answered by a responder the test scripts. Everything the
// window asks of it is recorded for the test to read.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "AppKit/AppKit.h"
#include "AppKit/NSWindowBackend.h"

class OffscreenWindowBackend : public NSWindowBackend {
public:
  using MenuResponder = std::function<NSMenuItem*(NSMenu* menu, NSPoint location)>;
  using AlertResponder = std::function<int(const AlertRequest& request)>;
  // True with the path for OK, false for cancel.
  using FilePanelResponder = std::function<bool(const FilePanelRequest& request, std::string&)>;

  explicit OffscreenWindowBackend(double scale = 1.0) : scale(scale) {}

  // Makes `kind` produce off-screen windows in this binary (a test standing in for a window
  // system). Each one made is told by LastMade() until the next.
  static void RegisterAs(Kind kind);
  static OffscreenWindowBackend* LastMade();

  // ---- NSWindowBackend ----
  void attach(NSWindow* window) override;
  void detach() override;
  void* nativeHandle() const override { return const_cast<OffscreenWindowBackend*>(this); }
  void setContentSize(int pixelWidth, int pixelHeight) override;
  double backingScaleFactor() const override { return scale; }
  void orderFront() override { ++ordersFront; }
  void invalidate(const PixelRect& area) override;
  void present(const Pixels& pixels, const PixelRect& area) override;
  void setPointerCapture(bool captured) override { pointerCaptured = captured; }
  bool hideCursor() override;
  bool showCursor() override;
  bool pointerPosition(int& x, int& y) const override;
  void warpPointer(int x, int y) override;
  NSMenuItem* runPopUpMenu(NSMenu* menu, NSPoint location, NSView* view) override;
  void textEditingBegan(NSTextField* field) override { editingField = field; }
  void textEditingEnded(NSTextField* field) override;
  int runAlert(const AlertRequest& request) override;
  bool runFilePanel(const FilePanelRequest& request, std::string& chosenPath) override;

  // ---- what a test does ----
  // The display moves to another density (the host's scale factor changes).
  void setBackingScaleFactor(double factor) { scale = factor; }
  // Input, as the window system delivers it.
  void press(NSPoint at, NSEventModifierFlags flags = 0, int clickCount = 1, bool right = false);
  void release(NSPoint at, NSEventModifierFlags flags = 0, bool right = false);
  void drag(NSPoint to, NSEventModifierFlags flags = 0, bool right = false);
  void move(NSPoint to, NSEventModifierFlags flags = 0);
  void scroll(NSPoint at, double deltaY, NSEventModifierFlags flags = 0);
  void key(const std::string& characters, const std::string& charactersIgnoringModifiers,
           std::uint16_t keyCode, NSEventModifierFlags flags = 0);
  // Types text into the field being edited, key by key; the characters accepted.
  std::string type(const std::string& text);

  // The window's pixels as RGBA rows (for PNG files and pixel checks).
  std::vector<std::uint8_t> rgba(int& width, int& height) const;

  NSWindow* window = nullptr;
  double scale;
  MenuResponder respondToMenu;           // none: every menu is dismissed
  AlertResponder respondToAlert;         // none: the first button
  FilePanelResponder respondToFilePanel; // none: cancel

  // ---- records ----
  struct ShownMenu {
    std::vector<std::string> titles; // "title", "title [on]", "[disabled]", "---", "title >"
    NSPoint location;
  };
  std::vector<ShownMenu> menus;
  std::vector<AlertRequest> alerts;
  std::vector<FilePanelRequest> filePanels;
  std::vector<PixelRect> invalidated, presented;
  NSTextField* editingField = nullptr;
  int pixelWidth = 0, pixelHeight = 0;
  int pointerX = 100, pointerY = 100;
  std::vector<std::pair<int, int>> warps;
  int ordersFront = 0, hides = 0, shows = 0;
  bool cursorHidden = false, pointerCaptured = false, detached = false;
};
