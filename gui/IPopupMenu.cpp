#include "gui/IPopupMenu.h"

#include <cstdio>

IPopupMenu::~IPopupMenu() = default;

int IPopupMenu::InsertPosition(int index) const {
  if (index == kAppend || index > GetNItems())
    return GetNItems();
  return index < 0 ? 0 : index;
}

IPopupMenuItem* IPopupMenu::AddItem(IPopupMenuItem* item, int index) {
  if (!item)
    return nullptr;
  mItems.emplace(mItems.begin() + InsertPosition(index), item);
  return item;
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, int flags) {
  return AddItem(new IPopupMenuItem(text, flags), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, int index, IPopupMenu* submenu) {
  return AddItem(new IPopupMenuItem(text, submenu), index);
}

IPopupMenuItem* IPopupMenu::AddItem(const char* text, IPopupMenu* submenu) {
  return AddItem(text, kAppend, submenu);
}

IPopupMenuItem* IPopupMenu::AddSeparator(int index) {
  return AddItem("", index, IPopupMenuItem::kSeparator);
}

IPopupMenuItem* IPopupMenu::GetItem(int index) const {
  return index >= 0 && index < GetNItems() ? mItems[index].get() : nullptr;
}

const char* IPopupMenu::GetItemText(int index) const {
  const IPopupMenuItem* item = GetItem(index);
  return item ? item->GetText() : "";
}

void IPopupMenu::SetPrefix(int prefix) {
  if (prefix >= 0 && prefix <= kMaxPrefix)
    mPrefix = prefix;
}

void IPopupMenu::FormatPrefix(int index, char* out, int outSize) const {
  static const char* const kFormats[kMaxPrefix + 1] = {"", "%1d: ", "%02d: ", "%03d: "};
  if (!out || outSize <= 0)
    return;
  std::snprintf(out, (size_t)outSize, kFormats[mPrefix], index + 1);
}

bool IPopupMenu::CheckItem(int index, bool on) {
  IPopupMenuItem* item = GetItem(index);
  if (!item)
    return false;
  item->SetChecked(on);
  return true;
}

bool IPopupMenu::CheckItemAlone(int index) {
  if (!GetItem(index))
    return false;
  for (int i = 0; i < GetNItems(); ++i)
    mItems[i]->SetChecked(i == index);
  return true;
}

bool IPopupMenu::IsItemChecked(int index) const {
  const IPopupMenuItem* item = GetItem(index);
  return item && item->IsChecked();
}
