#pragma once
// The toolkit's platform-neutral menu: ordered items with texts, flags and submenus, an
// optional numbering prefix, and, once shown, the index of the item the user chose. Prompts and
// context menus fill one; the platform back end turns it into a native menu, runs it and writes
// the choice back (into the menu the chosen item belongs to, which may be a submenu).

#include <memory>
#include <vector>

#include "gui/IPopupMenuItem.h"

class IPopupMenu {
public:
  static constexpr int kMaxPrefix = 3; // 1, 2, 3: "%1d: ", "%02d: ", "%03d: " before each item
  static constexpr int kAppend = -1;

  IPopupMenu() = default;
  // Deletes every item (and with them their submenus).
  ~IPopupMenu();
  IPopupMenu(const IPopupMenu&) = delete;
  IPopupMenu& operator=(const IPopupMenu&) = delete;

  // Takes ownership. -1 or an index past the end appends; any other negative index inserts at
  // the front. Returns the item (null stays null and adds nothing).
  IPopupMenuItem* AddItem(IPopupMenuItem* item, int index = kAppend);
  IPopupMenuItem* AddItem(const char* text, int index = kAppend,
                          int flags = IPopupMenuItem::kNoFlags);
  // Takes ownership of the submenu.
  IPopupMenuItem* AddItem(const char* text, int index, IPopupMenu* submenu);
  IPopupMenuItem* AddItem(const char* text, IPopupMenu* submenu);
  IPopupMenuItem* AddSeparator(int index = kAppend);

  int GetNItems() const { return (int)mItems.size(); }
  // Null for an index out of range.
  IPopupMenuItem* GetItem(int index) const;
  // "" for an index out of range.
  const char* GetItemText(int index) const;

  int GetPrefix() const { return mPrefix; }
  // 0-3; any other value is ignored.
  void SetPrefix(int prefix);
  // The numbering an item shows before its text ("" without a prefix); index counts from 0.
  // out holds at least 16 bytes.
  void FormatPrefix(int index, char* out, int outSize) const;

  // The index of the item chosen the last time the menu was shown, -1 for none.
  int GetChosenItemIdx() const { return mChosenItemIdx; }
  void SetChosenItemIdx(int index) { mChosenItemIdx = index; }
  IPopupMenuItem* GetChosenItem() const { return GetItem(mChosenItemIdx); }

  bool GetCanMultiCheck() const { return mCanMultiCheck; }
  void SetCanMultiCheck(bool multi) { mCanMultiCheck = multi; }

  // False when there is no such item.
  bool CheckItem(int index, bool on);
  // Checks that item and clears every other one; false (nothing changed) for no such item.
  bool CheckItemAlone(int index);
  bool IsItemChecked(int index) const;

private:
  int InsertPosition(int index) const;

  int mPrefix = 0;
  int mChosenItemIdx = -1;
  bool mCanMultiCheck = false; // kept for callers; nothing reads it
  std::vector<std::unique_ptr<IPopupMenuItem>> mItems;
};
