#include "x11/X11PopupMenu.h"

#include "x11/X11Blitter.h"
#include "x11/X11Connection.h"

#include "AppKit/AppKit.h"
#include "CoreText/CoreText.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cmath>

namespace orvane::x11 {

namespace {

constexpr int kTickMs = 40;
// A release this close to where the menu opened, with no press in the menu, is the end of
// the click that opened it, not a choice.
constexpr int kOpeningSlop = 3;

struct Colour {
  double r, g, b;
};
constexpr Colour kBackground{0.95, 0.95, 0.95};
constexpr Colour kBorder{0.55, 0.55, 0.55};
constexpr Colour kText{0.0, 0.0, 0.0};
constexpr Colour kDisabledText{0.58, 0.58, 0.58};
constexpr Colour kHighlight{0.22, 0.46, 0.84};
constexpr Colour kHighlightText{1.0, 1.0, 1.0};
constexpr Colour kSeparator{0.78, 0.78, 0.78};

// Metrics in points.
constexpr double kItemHeight = 20;
constexpr double kSeparatorHeight = 9;
constexpr double kLeftMargin = 22;  // room for the check mark
constexpr double kRightMargin = 26; // room for the submenu arrow
constexpr double kIndentStep = 12;
constexpr double kFontSize = 13;
constexpr double kMinimumWidth = 80;

std::uint64_t NowMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return std::uint64_t(t.tv_sec) * 1000 + std::uint64_t(t.tv_nsec) / 1000000;
}

bool Selectable(const X11Menu::Item& item) {
  return !item.separator && item.enabled;
}

// One line of text in the menu's font, measured once.
class MenuText {
public:
  MenuText(CTFontRef font, const std::string& text, Colour colour) {
    CFStringRef string = CFStringCreateWithCString(nullptr, text.c_str(), kCFStringEncodingUTF8);
    if (!string)
      string = CFStringCreateWithCString(nullptr, "?", kCFStringEncodingASCII);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    const CGFloat components[4] = {colour.r, colour.g, colour.b, 1.0};
    CGColorRef cgColour = CGColorCreate(space, components);
    const void* keys[2] = {kCTFontAttributeName, kCTForegroundColorAttributeName};
    const void* values[2] = {font, cgColour};
    CFDictionaryRef attributes = CFDictionaryCreate(
        nullptr, keys, values, 2, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    CFAttributedStringRef attributed = CFAttributedStringCreate(nullptr, string, attributes);
    line = CTLineCreateWithAttributedString(attributed);
    width = CTLineGetTypographicBounds(line, nullptr, nullptr, nullptr);
    CFRelease(attributed);
    CFRelease(attributes);
    CGColorRelease(cgColour);
    CGColorSpaceRelease(space);
    CFRelease(string);
  }
  ~MenuText() { CFRelease(line); }
  MenuText(const MenuText&) = delete;
  MenuText& operator=(const MenuText&) = delete;

  void draw(CGContextRef context, double x, double baseline) const {
    CGContextSetTextPosition(context, x, baseline);
    CTLineDraw(line, context);
  }

  CTLineRef line;
  double width;
};

// One open level of the menu: its window and layout in device pixels (root coordinates).
class MenuLevel {
public:
  MenuLevel(X11Connection& connection, const X11Menu& menu, int rootX, int rootY, double scale,
            int parentItem)
      : connection(connection), menu(menu), scale(scale), parentItem(parentItem) {
    font = CTFontCreateWithName(CFSTR("Lucida Grande"), kFontSize * scale, nullptr);
    layout();
    placeOnScreen(rootX, rootY);
    makeWindow();
  }

  ~MenuLevel() {
    blitter.reset();
    if (context)
      CGContextRelease(context);
    XDestroyWindow(connection.get(), window);
    CFRelease(font);
  }
  MenuLevel(const MenuLevel&) = delete;
  MenuLevel& operator=(const MenuLevel&) = delete;

  const X11Menu& items() const { return menu; }
  Window id() const { return window; }
  int left() const { return x; }
  int top() const { return y; }
  int right() const { return x + width; }
  int itemTop(int index) const { return y + tops[size_t(index)]; }
  int opener() const { return parentItem; }
  int highlighted() const { return highlight; }

  bool contains(int rootX, int rootY) const {
    return rootX >= x && rootX < x + width && rootY >= y && rootY < y + height;
  }

  // The item under a root position, or -1.
  int itemAt(int rootX, int rootY) const {
    if (!contains(rootX, rootY))
      return -1;
    for (size_t i = 0; i < menu.items.size(); ++i)
      if (rootY - y >= tops[i] && rootY - y < tops[i + 1])
        return int(i);
    return -1;
  }

  void setHighlight(int index) {
    if (index == highlight)
      return;
    highlight = index;
    paint();
  }

  // The next selectable item from the highlighted one in `step` direction, or the highlight.
  int nextSelectable(int step) const {
    const int n = int(menu.items.size());
    int index = highlight;
    for (int tries = 0; tries < n; ++tries) {
      index = index < 0 ? (step > 0 ? 0 : n - 1) : (index + step + n) % n;
      if (Selectable(menu.items[size_t(index)]))
        return index;
    }
    return highlight;
  }

  void paint() {
    const double w = width, h = height;
    Fill(kBackground, 0, 0, w, h);
    for (size_t i = 0; i < menu.items.size(); ++i)
      paintItem(i);
    CGContextSetRGBStrokeColor(context, kBorder.r, kBorder.g, kBorder.b, 1.0);
    CGContextStrokeRectWithWidth(context, CGRectMake(0.5, 0.5, w - 1, h - 1), 1.0);
    X11Blitter::Source source{static_cast<const std::uint8_t*>(CGBitmapContextGetData(context)),
                              width, height, int(CGBitmapContextGetBytesPerRow(context))};
    blitter->put(source, 0, 0, width, height);
  }

private:
  void layout() {
    double widest = 0;
    int top = 2; // below the border
    tops.push_back(top);
    for (const X11Menu::Item& item : menu.items) {
      if (!item.separator) {
        MenuText text(font, item.title, kText);
        widest = std::max(widest, text.width + item.indentation * kIndentStep * scale);
      }
      top += int(std::lround((item.separator ? kSeparatorHeight : kItemHeight) * scale));
      tops.push_back(top);
    }
    width = int(
        std::ceil(std::max(kMinimumWidth * scale, widest + (kLeftMargin + kRightMargin) * scale)));
    height = top + 2;
  }

  // Keeps the level on the screen: moved left and up where it would leave it.
  void placeOnScreen(int rootX, int rootY) {
    Display* display = connection.get();
    const int screenWidth = DisplayWidth(display, DefaultScreen(display));
    const int screenHeight = DisplayHeight(display, DefaultScreen(display));
    x = std::max(0, std::min(rootX, screenWidth - width));
    y = std::max(0, std::min(rootY, screenHeight - height));
  }

  void makeWindow() {
    Display* display = connection.get();
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            KeyPressMask | StructureNotifyMask;
    window = XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0,
                           CopyFromParent, InputOutput, CopyFromParent,
                           CWOverrideRedirect | CWSaveUnder | CWEventMask, &attributes);
    XStoreName(display, window, "menu");
    XMapRaised(display, window);
    XSync(display, False);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    context = CGBitmapContextCreate(nullptr, size_t(width), size_t(height), 8, size_t(width) * 4,
                                    space, kCGImageAlphaNoneSkipFirst);
    CGColorSpaceRelease(space);
    // Rows top down, as the window's; glyphs upright in the flipped space.
    CGContextTranslateCTM(context, 0, height);
    CGContextScaleCTM(context, 1, -1);
    CGContextSetTextMatrix(context, CGAffineTransformMake(1, 0, 0, -1, 0, 0));
    blitter = std::make_unique<X11Blitter>(connection, window);
  }

  void Fill(Colour colour, double fx, double fy, double fw, double fh) {
    CGContextSetRGBFillColor(context, colour.r, colour.g, colour.b, 1.0);
    CGContextFillRect(context, CGRectMake(fx, fy, fw, fh));
  }

  void paintItem(size_t index) {
    const X11Menu::Item& item = menu.items[index];
    const double top = tops[index], bottom = tops[index + 1];
    if (item.separator) {
      Fill(kSeparator, 1, std::floor((top + bottom) / 2), width - 2, std::max(1.0, scale));
      return;
    }
    const bool lit = int(index) == highlight && Selectable(item);
    if (lit)
      Fill(kHighlight, 1, top, width - 2, bottom - top);
    const Colour ink = !item.enabled ? kDisabledText : lit ? kHighlightText : kText;
    const double baseline =
        top + (bottom - top) / 2 + (CTFontGetAscent(font) - CTFontGetDescent(font)) / 2;
    MenuText(font, item.title, ink)
        .draw(context, (kLeftMargin + item.indentation * kIndentStep) * scale, baseline);
    if (item.checked)
      MenuText(font, "\u2713", ink).draw(context, 6 * scale, baseline);
    if (item.submenu)
      MenuText(font, "\u25B8", ink).draw(context, width - 16 * scale, baseline);
  }

  X11Connection& connection;
  const X11Menu& menu;
  double scale;
  int parentItem;
  CTFontRef font = nullptr;
  std::vector<int> tops; // item i spans [tops[i], tops[i + 1]) from the window's top
  int x = 0, y = 0, width = 0, height = 0;
  int highlight = -1;
  Window window = 0;
  CGContextRef context = nullptr;
  std::unique_ptr<X11Blitter> blitter;
};

// The menu's run: the open levels (the top level first) and the outcome.
class MenuRun {
public:
  MenuRun(X11Connection& connection, const X11Menu& menu, int rootX, int rootY, double scale)
      : connection(connection), scale(scale), openX(rootX), openY(rootY) {
    levels.push_back(std::make_unique<MenuLevel>(connection, menu, rootX, rootY, scale, -1));
    for (auto& level : levels)
      level->paint();
  }

  bool grab() {
    Display* display = connection.get();
    const Window top = levels.front()->id();
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    // A host may hold a grab a moment longer (the click that opened the menu): retry briefly.
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (XGrabPointer(display, top, True, mask, GrabModeAsync, GrabModeAsync, None, None,
                       CurrentTime) == GrabSuccess) {
        if (XGrabKeyboard(display, top, True, GrabModeAsync, GrabModeAsync, CurrentTime) ==
            GrabSuccess)
          return true;
        XUngrabPointer(display, CurrentTime);
      }
      poll(nullptr, 0, 10);
    }
    return false;
  }

  void ungrab() {
    Display* display = connection.get();
    XUngrabKeyboard(display, CurrentTime);
    XUngrabPointer(display, CurrentTime);
    XFlush(display);
  }

  bool finished() const { return done; }
  std::vector<int> choice() const { return chosen; }

  void handle(const XEvent& event) {
    switch (event.type) {
    case Expose:
      for (auto& level : levels)
        if (level->id() == event.xexpose.window && event.xexpose.count == 0)
          level->paint();
      break;
    case MotionNotify:
      pointerMoved(event.xmotion.x_root, event.xmotion.y_root);
      break;
    case ButtonPress:
      buttonPressed(event.xbutton.x_root, event.xbutton.y_root);
      break;
    case ButtonRelease:
      buttonReleased(event.xbutton.x_root, event.xbutton.y_root);
      break;
    case KeyPress:
      keyPressed(XLookupKeysym(const_cast<XKeyEvent*>(&event.xkey), 0));
      break;
    default:
      break;
    }
  }

private:
  // The deepest level holding a root position, or -1.
  int levelAt(int rootX, int rootY) const {
    for (int i = int(levels.size()) - 1; i >= 0; --i)
      if (levels[size_t(i)]->contains(rootX, rootY))
        return i;
    return -1;
  }

  void closeLevelsAbove(int level) {
    while (int(levels.size()) > level + 1)
      levels.pop_back();
  }

  void openSubmenu(int level, int item) {
    MenuLevel& parent = *levels[size_t(level)];
    const X11Menu::Item& entry = parent.items().items[size_t(item)];
    if (!entry.submenu || !entry.enabled)
      return;
    if (int(levels.size()) > level + 1 && levels[size_t(level) + 1]->opener() == item)
      return;
    closeLevelsAbove(level);
    levels.push_back(std::make_unique<MenuLevel>(connection, *entry.submenu, parent.right() - 2,
                                                 parent.itemTop(item) - 2, scale, item));
    levels.back()->paint();
  }

  void pointerMoved(int rootX, int rootY) {
    if (std::abs(rootX - openX) > kOpeningSlop || std::abs(rootY - openY) > kOpeningSlop)
      moved = true;
    const int level = levelAt(rootX, rootY);
    if (level < 0)
      return;
    const int item = levels[size_t(level)]->itemAt(rootX, rootY);
    levels[size_t(level)]->setHighlight(item);
    if (item >= 0 && levels[size_t(level)]->items().items[size_t(item)].submenu)
      openSubmenu(level, item);
    else if (item >= 0)
      closeLevelsAbove(level);
  }

  void buttonPressed(int rootX, int rootY) {
    if (levelAt(rootX, rootY) < 0) {
      done = true; // a click outside the menu dismisses it
      return;
    }
    pressedInside = true;
  }

  void buttonReleased(int rootX, int rootY) {
    if (!moved && !pressedInside)
      return; // the release of the click that opened the menu
    const int level = levelAt(rootX, rootY);
    if (level < 0)
      return;
    choose(level, levels[size_t(level)]->itemAt(rootX, rootY));
  }

  void choose(int level, int item) {
    if (item < 0)
      return;
    const X11Menu::Item& entry = levels[size_t(level)]->items().items[size_t(item)];
    if (!Selectable(entry))
      return;
    if (entry.submenu) {
      openSubmenu(level, item);
      return;
    }
    for (int i = 1; i <= level; ++i)
      chosen.push_back(levels[size_t(i)]->opener());
    chosen.push_back(item);
    done = true;
  }

  void keyPressed(KeySym key) {
    MenuLevel& deepest = *levels.back();
    const int level = int(levels.size()) - 1;
    switch (key) {
    case XK_Escape:
      if (level > 0)
        levels.pop_back();
      else
        done = true;
      break;
    case XK_Left:
      if (level > 0)
        levels.pop_back();
      break;
    case XK_Up:
      deepest.setHighlight(deepest.nextSelectable(-1));
      break;
    case XK_Down:
      deepest.setHighlight(deepest.nextSelectable(+1));
      break;
    case XK_Right:
      if (deepest.highlighted() >= 0) {
        openSubmenu(level, deepest.highlighted());
        if (int(levels.size()) > level + 1)
          levels.back()->setHighlight(levels.back()->nextSelectable(+1));
      }
      break;
    case XK_Return:
    case XK_KP_Enter:
    case XK_space:
      choose(level, deepest.highlighted());
      if (int(levels.size()) > level + 1)
        levels.back()->setHighlight(levels.back()->nextSelectable(+1));
      break;
    default:
      break;
    }
  }

  X11Connection& connection;
  double scale;
  int openX, openY;
  std::vector<std::unique_ptr<MenuLevel>> levels;
  std::vector<int> chosen;
  bool moved = false;
  bool pressedInside = false;
  bool done = false;
};

} // namespace

std::vector<int> X11PopupMenu::Run(X11Connection& connection, const X11Menu& menu, int rootX,
                                   int rootY, double scale, const std::function<void()>& tick) {
  if (!connection.isOpen() || menu.items.empty())
    return {};
  Display* display = connection.get();
  MenuRun run(connection, menu, rootX, rootY, scale);
  if (!run.grab())
    return {}; // without the grab the menu could not be dismissed: show none
  std::uint64_t nextTick = NowMs() + kTickMs;
  while (!run.finished()) {
    while (!run.finished() && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      run.handle(event);
    }
    if (run.finished())
      break;
    const std::uint64_t now = NowMs();
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, nextTick > now ? int(nextTick - now) : 0);
    if (fd.revents & (POLLHUP | POLLERR))
      break; // the server went away
    if (NowMs() >= nextTick) {
      nextTick = NowMs() + kTickMs;
      if (tick)
        tick();
    }
  }
  run.ungrab();
  return run.choice();
}

} // namespace orvane::x11
