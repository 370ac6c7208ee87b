// The window system of tests.
#include "OffscreenWindowBackend.h"

namespace {

OffscreenWindowBackend* gLastMade = nullptr;

std::unique_ptr<NSWindowBackend> MakeOffscreen(void*) {
  auto backend =
      std::make_unique<OffscreenWindowBackend>(NSScreen::mainScreen()->backingScaleFactor());
  gLastMade = backend.get();
  return backend;
}

void DescribeMenu(NSMenu* menu, const std::string& indent, std::vector<std::string>& out) {
  for (NSMenuItem* item : menu->itemArray()) {
    if (item->isSeparatorItem()) {
      out.push_back(indent + "---");
      continue;
    }
    std::string line = indent + item->title();
    if (item->state() == NSOnState)
      line += " [on]";
    if (!item->isEnabled())
      line += " [disabled]";
    if (item->hasSubmenu()) {
      out.push_back(line + " >");
      DescribeMenu(item->submenu(), indent + "  ", out);
      continue;
    }
    out.push_back(line);
  }
}

} // namespace

void OffscreenWindowBackend::RegisterAs(Kind kind) {
  RegisterFactory(kind, &MakeOffscreen);
}

OffscreenWindowBackend* OffscreenWindowBackend::LastMade() {
  return gLastMade;
}

void OffscreenWindowBackend::attach(NSWindow* owner) {
  window = owner;
  const PixelRect all = owner->pixelRectFromRect(
      NSMakeRect(0, 0, owner->contentSize().width, owner->contentSize().height));
  pixelWidth = all.width;
  pixelHeight = all.height;
}

void OffscreenWindowBackend::detach() {
  window = nullptr;
  detached = true;
  if (gLastMade == this)
    gLastMade = nullptr;
}

void OffscreenWindowBackend::setContentSize(int width, int height) {
  pixelWidth = width;
  pixelHeight = height;
}

void OffscreenWindowBackend::invalidate(const PixelRect& area) {
  invalidated.push_back(area);
  if (window)
    window->scheduleDisplay();
}

void OffscreenWindowBackend::present(const Pixels&, const PixelRect& area) {
  presented.push_back(area);
}

bool OffscreenWindowBackend::hideCursor() {
  ++hides;
  cursorHidden = true;
  return true;
}

bool OffscreenWindowBackend::showCursor() {
  ++shows;
  cursorHidden = false;
  return true;
}

bool OffscreenWindowBackend::pointerPosition(int& x, int& y) const {
  x = pointerX;
  y = pointerY;
  return true;
}

void OffscreenWindowBackend::warpPointer(int x, int y) {
  warps.emplace_back(x, y);
  pointerX = x;
  pointerY = y;
}

NSMenuItem* OffscreenWindowBackend::runPopUpMenu(NSMenu* menu, NSPoint location, NSView*) {
  ShownMenu shown;
  shown.location = location;
  DescribeMenu(menu, "", shown.titles);
  menus.push_back(shown);
  return respondToMenu ? respondToMenu(menu, location) : nullptr;
}

void OffscreenWindowBackend::textEditingEnded(NSTextField* field) {
  if (editingField == field)
    editingField = nullptr;
}

int OffscreenWindowBackend::runAlert(const AlertRequest& request) {
  alerts.push_back(request);
  return respondToAlert ? respondToAlert(request) : 0;
}

bool OffscreenWindowBackend::runFilePanel(const FilePanelRequest& request, std::string& path) {
  filePanels.push_back(request);
  return respondToFilePanel ? respondToFilePanel(request, path) : false;
}

// ---- input ----

void OffscreenWindowBackend::press(NSPoint at, NSEventModifierFlags flags, int clickCount,
                                   bool right) {
  if (!window)
    return;
  NSEvent event = NSEvent::mouseEvent(right ? NSRightMouseDown : NSLeftMouseDown, at, flags, window,
                                      clickCount);
  window->sendEvent(&event);
}

void OffscreenWindowBackend::release(NSPoint at, NSEventModifierFlags flags, bool right) {
  if (!window)
    return;
  NSEvent event = NSEvent::mouseEvent(right ? NSRightMouseUp : NSLeftMouseUp, at, flags, window);
  window->sendEvent(&event);
}

void OffscreenWindowBackend::drag(NSPoint to, NSEventModifierFlags flags, bool right) {
  if (!window)
    return;
  NSEvent event =
      NSEvent::mouseEvent(right ? NSRightMouseDragged : NSLeftMouseDragged, to, flags, window);
  window->sendEvent(&event);
}

void OffscreenWindowBackend::move(NSPoint to, NSEventModifierFlags flags) {
  if (!window)
    return;
  NSEvent event = NSEvent::mouseEvent(NSMouseMoved, to, flags, window, 0);
  window->sendEvent(&event);
}

void OffscreenWindowBackend::scroll(NSPoint at, double deltaY, NSEventModifierFlags flags) {
  if (!window)
    return;
  NSEvent event = NSEvent::scrollWheelEvent(at, flags, window, deltaY);
  window->sendEvent(&event);
}

void OffscreenWindowBackend::key(const std::string& characters,
                                 const std::string& charactersIgnoringModifiers,
                                 std::uint16_t keyCode, NSEventModifierFlags flags) {
  if (!window)
    return;
  NSEvent event = NSEvent::keyEvent(NSKeyDown, NSMakePoint(0, 0), flags, window, characters,
                                    charactersIgnoringModifiers, keyCode);
  window->sendEvent(&event);
}

std::string OffscreenWindowBackend::type(const std::string& text) {
  std::string accepted;
  for (char c : text) {
    const std::string one(1, c);
    if (editingField && editingField->insertText(one))
      accepted += one;
  }
  return accepted;
}

std::vector<std::uint8_t> OffscreenWindowBackend::rgba(int& width, int& height) const {
  std::vector<std::uint8_t> out;
  width = height = 0;
  if (!window)
    return out;
  const Pixels pixels = window->pixels();
  width = pixels.width;
  height = pixels.height;
  out.reserve(size_t(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* row = pixels.data + size_t(y) * pixels.bytesPerRow;
    for (int x = 0; x < width; ++x) {
      out.push_back(row[x * 4 + 1]);
      out.push_back(row[x * 4 + 2]);
      out.push_back(row[x * 4 + 3]);
      out.push_back(255);
    }
  }
  return out;
}
