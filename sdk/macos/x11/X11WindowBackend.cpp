#include "x11/X11WindowBackend.h"

#include "AppKit/NSEvent.h"
#include "AppKit/NSMenu.h"
#include "AppKit/NSScreen.h"
#include "AppKit/NSTextField.h"
#include "AppKit/NSView.h"
#include "AppKit/NSWindow.h"
#include "sdk/macos/runloop/RunLoop.h"
#include "x11/X11Blitter.h"
#include "x11/X11KeyTranslation.h"
#include "x11/X11PopupMenu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace orvane::x11 {

namespace {

constexpr long kWindowEvents = ExposureMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | KeyPressMask | KeyReleaseMask | FocusChangeMask |
                               StructureNotifyMask;
constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

NSWindowBackend::PixelRect Union(const NSWindowBackend::PixelRect& a,
                                 const NSWindowBackend::PixelRect& b) {
  if (a.empty())
    return b;
  if (b.empty())
    return a;
  const int left = std::min(a.x, b.x), top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.width, b.x + b.width);
  const int bottom = std::max(a.y + a.height, b.y + b.height);
  return {left, top, right - left, bottom - top};
}

// The menu as X11PopupMenu shows it, with the NSMenuItem behind every entry.
void BuildMenu(NSMenu* menu, X11Menu& out, std::map<const X11Menu*, NSMenu*>& sources) {
  sources[&out] = menu;
  for (NSMenuItem* item : menu->itemArray()) {
    X11Menu::Item entry;
    entry.separator = item->isSeparatorItem();
    entry.title = item->title();
    entry.enabled = item->isEnabled();
    entry.checked = item->state() == NSOnState;
    entry.indentation = item->indentationLevel();
    if (item->hasSubmenu()) {
      entry.submenu = std::make_shared<X11Menu>();
      BuildMenu(item->submenu(), *entry.submenu, sources);
    }
    out.items.push_back(std::move(entry));
  }
}

} // namespace

std::unique_ptr<NSWindowBackend> X11WindowBackend::Make(void* parent) {
  const auto parentWindow = static_cast<Window>(reinterpret_cast<uintptr_t>(parent));
  if (!parentWindow)
    return nullptr;
  auto connection = std::make_unique<X11Connection>();
  if (!connection->isOpen())
    return nullptr;
  XWindowAttributes attributes{};
  if (!connection->checked(
          [&] { XGetWindowAttributes(connection->get(), parentWindow, &attributes); }))
    return nullptr; // no such window
  return std::unique_ptr<NSWindowBackend>(
      new X11WindowBackend(std::move(connection), parentWindow));
}

void X11WindowBackend::Register() {
  if (!NSWindowBackend::HasFactory(Kind::X11))
    NSWindowBackend::RegisterFactory(Kind::X11, &X11WindowBackend::Make);
}

X11WindowBackend::X11WindowBackend(std::unique_ptr<X11Connection> c, Window parentWindow)
    : connection(std::move(c)), parent(parentWindow) {
  // The host's content scale (set on the stand-in's screen) when it gave one, else the
  // desktop's Xft.dpi.
  const double hostScale = NSScreen::mainScreen()->backingScaleFactor();
  scale = hostScale > 1.0 ? hostScale : connection->desktopScale();
  Display* display = connection->get();
  XSetWindowAttributes attributes{};
  attributes.event_mask = kWindowEvents;
  attributes.background_pixmap = None; // no flash of a background before the first draw
  attributes.bit_gravity = NorthWestGravity;
  window = XCreateWindow(display, parent, 0, 0, 1, 1, 0, CopyFromParent, InputOutput,
                         CopyFromParent, CWEventMask | CWBackPixmap | CWBitGravity, &attributes);
  // The parent's destruction is seen on this connection too (the selection is this client's
  // own, the host's is untouched).
  XSelectInput(display, parent, StructureNotifyMask);
  blitter = std::make_unique<X11Blitter>(*connection, window);
}

X11WindowBackend::~X11WindowBackend() {
  detach();
}

void X11WindowBackend::attach(NSWindow* nsWindow) {
  owner = nsWindow;
  const NSSize size = nsWindow->contentSize();
  Display* display = connection->get();
  XResizeWindow(display, window, std::max(1, int(std::lround(size.width * scale))),
                std::max(1, int(std::lround(size.height * scale))));
  XMapWindow(display, window);
  XFlush(display);
}

// A host may destroy its window before it removes the view: the child went with it, and a
// request on it would raise an X error. What the server has said so far tells.
void X11WindowBackend::detach() {
  if (window) {
    XSync(connection->get(), False);
    noticeDestruction();
  }
  if (!window) {
    owner = nullptr;
    return;
  }

  Display* display = connection->get();
  if (editingField)
    returnFocus();
  editingField = nullptr;
  if (captured)
    XUngrabPointer(display, CurrentTime);
  blitter.reset();
  XDestroyWindow(display, window);
  if (invisible)
    XFreeCursor(display, invisible);
  XSync(display, False);
  window = 0;
  owner = nullptr;
}

namespace {

Bool IsDestroyOf(Display*, XEvent* event, XPointer windows) {
  const auto* ids = reinterpret_cast<const Window*>(windows);
  return event->type == DestroyNotify &&
         (event->xdestroywindow.window == ids[0] || event->xdestroywindow.window == ids[1]);
}

} // namespace

void X11WindowBackend::noticeDestruction() {
  if (!window)
    return;
  Window ids[2] = {window, parent};
  XEvent event;
  if (XCheckIfEvent(connection->get(), &event, IsDestroyOf, reinterpret_cast<XPointer>(ids)))
    windowDestroyed(event.xdestroywindow.window);
}

// The server destroyed the window (with its parent, or on its own): what is not the window's
// goes, and no request names it again. The pointer grab and the focus went with the window.
void X11WindowBackend::windowDestroyed(Window which) {
  if (!window || (which != window && which != parent))
    return;
  Display* display = connection->get();
  blitter.reset();
  if (invisible)
    XFreeCursor(display, invisible);
  invisible = 0;
  XFlush(display);
  editingField = nullptr;
  focusBeforeEditing = 0;
  captured = false;
  window = 0;
  destroyedByServer = true;
}

bool X11WindowBackend::windowExists() {
  noticeDestruction();
  return window != 0;
}

void* X11WindowBackend::nativeHandle() const {
  return reinterpret_cast<void*>(static_cast<uintptr_t>(window));
}

void X11WindowBackend::setContentSize(int pixelWidth, int pixelHeight) {
  if (!window)
    return;
  XResizeWindow(connection->get(), window, std::max(1, pixelWidth), std::max(1, pixelHeight));
  XFlush(connection->get());
}

double X11WindowBackend::backingScaleFactor() const {
  return scale;
}

void X11WindowBackend::orderFront() {
  if (!window)
    return;
  XRaiseWindow(connection->get(), window);
  XFlush(connection->get());
}

// ---- drawing ----

void X11WindowBackend::invalidate(const PixelRect&) {
  if (owner)
    owner->scheduleDisplay();
}

void X11WindowBackend::present(const Pixels& pixels, const PixelRect& area) {
  if (area.empty() || !windowExists())
    return;
  presented += blitter->put({pixels.data, pixels.width, pixels.height, pixels.bytesPerRow}, area.x,
                            area.y, area.width, area.height);
}

bool X11WindowBackend::usesSharedMemory() const {
  return blitter && blitter->usesSharedMemory();
}

// ---- pointer ----

Cursor X11WindowBackend::blankCursor() {
  if (invisible)
    return invisible;
  Display* display = connection->get();
  static const char kEmpty[1] = {0};
  Pixmap empty = XCreateBitmapFromData(display, window, kEmpty, 1, 1);
  XColor black{};
  invisible = XCreatePixmapCursor(display, empty, empty, &black, &black, 0, 0);
  XFreePixmap(display, empty);
  return invisible;
}

void X11WindowBackend::setPointerCapture(bool capture) {
  if (!window || capture == captured)
    return;
  Display* display = connection->get();
  if (capture) {
    // The press's implicit grab ends with the button; ours keeps the drag's events coming
    // wherever the pointer goes (with the blank cursor while it is hidden).
    captured = XGrabPointer(display, window, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None,
                            cursorHidden ? blankCursor() : None, CurrentTime) == GrabSuccess;
  } else {
    XUngrabPointer(display, CurrentTime);
    captured = false;
  }
  XFlush(display);
}

bool X11WindowBackend::hideCursor() {
  if (!window)
    return false;
  Display* display = connection->get();
  XDefineCursor(display, window, blankCursor());
  if (captured)
    XChangeActivePointerGrab(display, kGrabEvents, blankCursor(), CurrentTime);
  XFlush(display);
  cursorHidden = true;
  return true;
}

bool X11WindowBackend::showCursor() {
  if (!window)
    return false;
  Display* display = connection->get();
  XUndefineCursor(display, window);
  if (captured)
    XChangeActivePointerGrab(display, kGrabEvents, None, CurrentTime);
  XFlush(display);
  cursorHidden = false;
  return true;
}

bool X11WindowBackend::pointerPosition(int& x, int& y) const {
  Display* display = connection->get();
  Window root, child;
  int winX, winY;
  unsigned mask;
  return XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &winX, &winY,
                       &mask);
}

void X11WindowBackend::warpPointer(int x, int y) {
  Display* display = connection->get();
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
  XFlush(display);
}

// ---- modal UI ----

NSMenuItem* X11WindowBackend::runPopUpMenu(NSMenu* menu, NSPoint location, NSView*) {
  if (!window || !owner || !menu)
    return nullptr;
  X11Menu shown;
  std::map<const X11Menu*, NSMenu*> sources;
  BuildMenu(menu, shown, sources);
  // The menu's top left in root coordinates.
  const double pixelX = location.x * scale;
  const double pixelY = (owner->contentSize().height - location.y) * scale;
  Display* display = connection->get();
  int rootX = 0, rootY = 0;
  Window child;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), int(std::lround(pixelX)),
                        int(std::lround(pixelY)), &rootX, &rootY, &child);
  // A button held by this window's drag would keep the pointer from the menu.
  setPointerCapture(false);
  XUngrabPointer(display, CurrentTime);
  XFlush(display);

  X11Connection menuConnection;
  // While the menu runs, the editor keeps its timers and redraws (as in a menu's event
  // tracking on the Mac).
  const std::vector<int> path =
      X11PopupMenu::Run(menuConnection, shown, rootX, rootY, scale, [this] {
        RunLoop::instance().pump();
        dispatchEvents();
      });
  clicks.reset();
  if (path.empty())
    return nullptr;
  NSMenu* level = menu;
  NSMenuItem* item = nullptr;
  for (int index : path) {
    item = level ? level->itemAtIndex(index) : nullptr;
    level = item ? item->submenu() : nullptr;
  }
  return item;
}

void X11WindowBackend::takeFocus() {
  Display* display = connection->get();
  int revert = 0;
  XGetInputFocus(display, &focusBeforeEditing, &revert);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  XFlush(display);
}

void X11WindowBackend::returnFocus() {
  Display* display = connection->get();
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  // Only a focus we still hold goes back (the user may have moved it elsewhere).
  if (focus == window && focusBeforeEditing > PointerRoot)
    connection->checked(
        [&] { XSetInputFocus(display, focusBeforeEditing, RevertToParent, CurrentTime); });
  focusBeforeEditing = 0;
}

void X11WindowBackend::textEditingBegan(NSTextField* field) {
  if (!window)
    return;
  editingField = field;
  takeFocus();
}

void X11WindowBackend::textEditingEnded(NSTextField* field) {
  if (field != editingField || !window)
    return;
  editingField = nullptr;
  returnFocus();
}

// Alerts and file panels are not shown in a plug-in window on Linux.
int X11WindowBackend::runAlert(const AlertRequest&) {
  return -1;
}

bool X11WindowBackend::runFilePanel(const FilePanelRequest&, std::string&) {
  return false;
}

// ---- events ----

int X11WindowBackend::eventDescriptor() const {
  return connection->descriptor();
}

void X11WindowBackend::dispatchEvents() {
  Display* display = connection->get();
  // Events of this connection only; a callback may close the window (detach) mid-way.
  while (window && XPending(display)) {
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == DestroyNotify)
      windowDestroyed(event.xdestroywindow.window);
    else if (event.xany.window == window)
      handle(event);
  }
}

void X11WindowBackend::handle(XEvent& event) {
  switch (event.type) {
  case Expose:
    handleExpose(event.xexpose);
    break;
  case ButtonPress:
    handleButton(event.xbutton, true);
    break;
  case ButtonRelease:
    handleButton(event.xbutton, false);
    break;
  case MotionNotify:
    handleMotion(event.xmotion);
    break;
  case KeyPress:
    handleKey(event.xkey, true);
    break;
  case KeyRelease:
    handleKey(event.xkey, false);
    break;
  case FocusOut:
    handleFocusOut(event.xfocus);
    break;
  default:
    break;
  }
}

// Expose areas arrive in a run whose last has count 0: they are drawn once, as one area.
void X11WindowBackend::handleExpose(const XExposeEvent& event) {
  exposed = Union(exposed, {event.x, event.y, event.width, event.height});
  if (event.count > 0 || !owner)
    return;
  const PixelRect area = exposed;
  exposed = {};
  owner->displayRect(area);
}

NSPoint X11WindowBackend::pointOf(int x, int y) const {
  return owner ? owner->pointFromPixel(x, y) : NSMakePoint(0, 0);
}

NSEventModifierFlags X11WindowBackend::flagsOf(unsigned state) const {
  NSEventModifierFlags flags = 0;
  if (state & ShiftMask)
    flags |= NSShiftKeyMask;
  if (state & ControlMask)
    flags |= NSControlKeyMask;
  if (state & connection->altMask())
    flags |= NSAlternateKeyMask;
  if (state & connection->superMask())
    flags |= NSCommandKeyMask;
  if (state & LockMask)
    flags |= NSAlphaShiftKeyMask;
  return flags;
}

void X11WindowBackend::deliver(NSEvent& event) {
  if (owner)
    owner->sendEvent(&event);
}

void X11WindowBackend::handleButton(const XButtonEvent& event, bool pressed) {
  pointerX = event.x;
  pointerY = event.y;
  const NSPoint point = pointOf(event.x, event.y);
  const NSEventModifierFlags flags = flagsOf(event.state);
  if (event.button >= 4 && event.button <= 7) {
    // Wheel steps come as presses of buttons 4 (up), 5 (down), 6 (left) and 7 (right).
    if (!pressed)
      return;
    const double dy = event.button == 4 ? 1.0 : event.button == 5 ? -1.0 : 0.0;
    const double dx = event.button == 6 ? 1.0 : event.button == 7 ? -1.0 : 0.0;
    NSEvent wheel = NSEvent::scrollWheelEvent(point, flags, owner, dy, dx);
    deliver(wheel);
    return;
  }
  if (event.button != Button1 && event.button != Button3)
    return;
  const bool left = event.button == Button1;
  const int count =
      pressed ? clicks.press(event.button, std::uint32_t(event.time), event.x, event.y) : 1;
  const NSEventType type = pressed ? (left ? NSLeftMouseDown : NSRightMouseDown)
                                   : (left ? NSLeftMouseUp : NSRightMouseUp);
  NSEvent mouse = NSEvent::mouseEvent(type, point, flags, owner, count);
  deliver(mouse);
}

void X11WindowBackend::handleMotion(XMotionEvent event) {
  // Only the latest of a run of moves queued one after another matters. The run ends at the
  // first other event: a move queued behind a release belongs after it, and the drag's last
  // position must reach the control before the release does.
  Display* display = connection->get();
  XEvent next;
  while (XEventsQueued(display, QueuedAlready) > 0) {
    XPeekEvent(display, &next);
    if (next.type != MotionNotify || next.xany.window != window)
      break;
    XNextEvent(display, &next);
    event = next.xmotion;
  }
  pointerX = event.x;
  pointerY = event.y;
  const NSEventType type = (event.state & Button1Mask)   ? NSLeftMouseDragged
                           : (event.state & Button3Mask) ? NSRightMouseDragged
                                                         : NSMouseMoved;
  NSEvent move = NSEvent::mouseEvent(type, pointOf(event.x, event.y), flagsOf(event.state), owner);
  deliver(move);
}

void X11WindowBackend::handleKey(XKeyEvent& event, bool pressed) {
  char text[32];
  KeySym typed = NoSymbol;
  XLookupString(&event, text, sizeof text, &typed, nullptr);
  const KeySym plain = XLookupKeysym(&event, 0);
  const TranslatedKey key = TranslateKey(typed, plain);
  if (key.keyCode == 0xFFFF && key.characters.empty())
    return; // a modifier on its own, or a key AppKit has no code for
  NSEvent keyEvent = NSEvent::keyEvent(pressed ? NSKeyDown : NSKeyUp, pointOf(pointerX, pointerY),
                                       flagsOf(event.state), owner, key.characters,
                                       key.charactersIgnoringModifiers, key.keyCode);
  keyInHand = &event;
  deliver(keyEvent);
  keyInHand = nullptr;
}

// X gave the key to this window because the pointer is over it: a key the editor does not
// take goes on to the host's window, as if the editor were not there.
void X11WindowBackend::keyNotTaken(const NSEvent&) {
  if (!keyInHand || !window)
    return;
  XEvent forward{};
  forward.xkey = *keyInHand;
  forward.xkey.window = parent;
  forward.xkey.subwindow = 0;
  Display* display = connection->get();
  const long mask = forward.type == KeyPress ? KeyPressMask : KeyReleaseMask;
  connection->checked([&] { XSendEvent(display, parent, True, mask, &forward); });
}

// The keyboard went elsewhere (the user clicked another window): the text entry commits.
void X11WindowBackend::handleFocusOut(const XFocusChangeEvent& event) {
  if (!editingField || event.mode != NotifyNormal || event.detail == NotifyInferior)
    return;
  NSTextField* field = editingField;
  field->endEditing();
}

} // namespace orvane::x11
