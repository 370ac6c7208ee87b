#pragma once
// One entry of a pop-up menu: its text, an optional submenu it owns, its flags and a tag the
// owner may use. Separators are items too, with empty text and the separator flag.

#include <string>

class IPopupMenu;

class IPopupMenuItem {
public:
  enum Flags : int {
    kNoFlags = 0,
    kDisabled = 1 << 0,
    kTitle = 1 << 1, // shown indented
    kChecked = 1 << 2,
    kSeparator = 1 << 3
  };

  explicit IPopupMenuItem(const char* text, int flags = kNoFlags);
  // Takes ownership of the submenu.
  IPopupMenuItem(const char* text, IPopupMenu* submenu);
  // Deletes the submenu and so its items.
  ~IPopupMenuItem();
  IPopupMenuItem(const IPopupMenuItem&) = delete;
  IPopupMenuItem& operator=(const IPopupMenuItem&) = delete;

  const char* GetText() const { return mText.c_str(); }
  IPopupMenu* GetSubmenu() const { return mSubmenu; }
  int GetFlags() const { return mFlags; }
  int GetTag() const { return mTag; }
  void SetTag(int tag) { mTag = tag; }

  bool IsDisabled() const { return (mFlags & kDisabled) != 0; }
  bool IsTitle() const { return (mFlags & kTitle) != 0; }
  bool IsChecked() const { return (mFlags & kChecked) != 0; }
  bool IsSeparator() const { return (mFlags & kSeparator) != 0; }
  void SetChecked(bool on);

private:
  std::string mText;
  IPopupMenu* mSubmenu = nullptr; // owned
  int mFlags = kNoFlags;
  int mTag = -1;
};
