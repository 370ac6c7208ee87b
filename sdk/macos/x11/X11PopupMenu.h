// A pop-up menu on X11: one override-redirect window per open menu level, drawn by us, with
// the pointer and keyboard grabbed while it runs. The mouse chooses by releasing over an item
// (after moving or clicking in the menu) or clicking one; the keyboard moves with the arrows,
// opens submenus with Right or Return, closes them with Left or Escape, and chooses with
// Return or Space. Escape at the top level, a click outside every level or the loss of the
// grab cancels.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orvane::x11 {

class X11Connection;

struct X11Menu {
  struct Item {
    std::string title;
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    int indentation = 0;
    std::shared_ptr<X11Menu> submenu;
  };
  std::vector<Item> items;
};

class X11PopupMenu {
public:
  // Runs `menu` with its top left at the root position (rootX, rootY), drawn at `scale`
  // device pixels per point, on `connection` (a connection of its own, so the events of the
  // editor's window wait for the editor instead of being taken by the menu). `tick` runs about
  // every 40 ms while the menu is open (so the editor keeps redrawing). Returns the indices of the
  // chosen item, one per level (the top level's first), or nothing when the menu was cancelled.
  static std::vector<int> Run(X11Connection& connection, const X11Menu& menu, int rootX, int rootY,
                              double scale, const std::function<void()>& tick);
};

} // namespace orvane::x11
