// The platform-neutral pop-up menu: where items go, their flags, checking, submenus and the
// chosen item.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/IPopupMenu.h"

namespace {

std::vector<std::string> Texts(const IPopupMenu& menu) {
  std::vector<std::string> out;
  for (int i = 0; i < menu.GetNItems(); ++i)
    out.push_back(menu.GetItemText(i));
  return out;
}

IPopupMenu* ThreeItems() {
  auto* menu = new IPopupMenu;
  menu->AddItem("a");
  menu->AddItem("b");
  menu->AddItem("c");
  return menu;
}

TEST(PopupMenu, AddItemPlacesByIndex) {
  struct Case {
    int index;
    std::vector<std::string> expected;
  } cases[] = {
      {-1, {"a", "b", "c", "new"}}, {99, {"a", "b", "c", "new"}}, {3, {"a", "b", "c", "new"}},
      {-5, {"new", "a", "b", "c"}}, {0, {"new", "a", "b", "c"}},  {1, {"a", "new", "b", "c"}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<IPopupMenu> menu(ThreeItems());
    IPopupMenuItem* item = menu->AddItem("new", c.index);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(Texts(*menu), c.expected) << "index " << c.index;
    EXPECT_EQ(item->GetTag(), -1);
    EXPECT_EQ(item->GetSubmenu(), nullptr);
  }
}

TEST(PopupMenu, SeparatorsAndFlags) {
  IPopupMenu menu;
  menu.AddItem("off", IPopupMenu::kAppend, IPopupMenuItem::kDisabled);
  menu.AddSeparator();
  menu.AddItem("Header", IPopupMenu::kAppend, IPopupMenuItem::kTitle);
  menu.AddSeparator(0);
  ASSERT_EQ(menu.GetNItems(), 4);
  EXPECT_TRUE(menu.GetItem(0)->IsSeparator());
  EXPECT_STREQ(menu.GetItemText(0), "");
  EXPECT_TRUE(menu.GetItem(1)->IsDisabled());
  EXPECT_FALSE(menu.GetItem(1)->IsSeparator());
  EXPECT_TRUE(menu.GetItem(2)->IsSeparator());
  EXPECT_TRUE(menu.GetItem(3)->IsTitle());
  EXPECT_EQ(menu.GetItem(3)->GetFlags(), 2);
  EXPECT_EQ(menu.GetItem(1)->GetFlags(), 1);
  EXPECT_EQ(menu.GetItem(0)->GetFlags(), 8);
}

TEST(PopupMenu, OutOfRangeLookupsAreHarmless) {
  std::unique_ptr<IPopupMenu> menu(ThreeItems());
  for (int index : {-1, 3, 1000}) {
    EXPECT_EQ(menu->GetItem(index), nullptr);
    EXPECT_STREQ(menu->GetItemText(index), "");
    EXPECT_FALSE(menu->CheckItem(index, true));
    EXPECT_FALSE(menu->CheckItemAlone(index));
    EXPECT_FALSE(menu->IsItemChecked(index));
  }
  EXPECT_EQ(menu->AddItem(static_cast<IPopupMenuItem*>(nullptr)), nullptr);
  EXPECT_EQ(menu->GetNItems(), 3);
}

TEST(PopupMenu, Checking) {
  std::unique_ptr<IPopupMenu> menu(ThreeItems());
  EXPECT_TRUE(menu->CheckItem(0, true));
  EXPECT_TRUE(menu->CheckItem(2, true));
  EXPECT_TRUE(menu->IsItemChecked(0));
  EXPECT_TRUE(menu->IsItemChecked(2));

  EXPECT_TRUE(menu->CheckItemAlone(1));
  EXPECT_FALSE(menu->IsItemChecked(0));
  EXPECT_TRUE(menu->IsItemChecked(1));
  EXPECT_FALSE(menu->IsItemChecked(2));

  EXPECT_TRUE(menu->CheckItem(1, false));
  EXPECT_FALSE(menu->IsItemChecked(1));

  // Checking keeps the item's other flags.
  IPopupMenuItem* item = menu->AddItem("d", IPopupMenu::kAppend, IPopupMenuItem::kDisabled);
  item->SetChecked(true);
  EXPECT_EQ(item->GetFlags(), IPopupMenuItem::kDisabled | IPopupMenuItem::kChecked);
  item->SetChecked(false);
  EXPECT_EQ(item->GetFlags(), IPopupMenuItem::kDisabled);
}

TEST(PopupMenu, PrefixOnlyTakesZeroToThree) {
  IPopupMenu menu;
  EXPECT_EQ(menu.GetPrefix(), 0);
  for (int accepted : {2, 3, 1, 0}) {
    menu.SetPrefix(accepted);
    EXPECT_EQ(menu.GetPrefix(), accepted);
  }
  menu.SetPrefix(2);
  for (int refused : {4, -1, 100}) {
    menu.SetPrefix(refused);
    EXPECT_EQ(menu.GetPrefix(), 2);
  }
}

TEST(PopupMenu, PrefixNumbersFromOne) {
  struct Case {
    int prefix, index;
    const char* expected;
  } cases[] = {{0, 0, ""}, {1, 0, "1: "}, {2, 0, "01: "}, {3, 0, "001: "}, {2, 11, "12: "}};
  for (const Case& c : cases) {
    IPopupMenu menu;
    menu.SetPrefix(c.prefix);
    char text[16] = "x";
    menu.FormatPrefix(c.index, text, sizeof text);
    EXPECT_STREQ(text, c.expected) << "prefix " << c.prefix;
  }
}

TEST(PopupMenu, SubmenusAreOwnedAndKeepTheirOwnChoice) {
  IPopupMenu menu;
  menu.AddItem("top");
  IPopupMenu* sub = ThreeItems();
  IPopupMenuItem* holder = menu.AddItem("More", sub);
  IPopupMenu* subsub = ThreeItems();
  sub->AddItem("Deeper", 0, subsub);
  ASSERT_EQ(menu.GetNItems(), 2);
  EXPECT_EQ(holder->GetSubmenu(), sub);
  EXPECT_EQ(holder->GetFlags(), 0);
  EXPECT_EQ(sub->GetItem(0)->GetSubmenu(), subsub);

  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_EQ(menu.GetChosenItem(), nullptr);
  sub->SetChosenItemIdx(2);
  EXPECT_EQ(menu.GetChosenItemIdx(), -1);
  EXPECT_STREQ(sub->GetChosenItem()->GetText(), "b");
  // The menu deletes the submenus with their items (the sanitizer build checks for leaks).
}

TEST(PopupMenu, NullTextIsEmpty) {
  IPopupMenu menu;
  menu.AddItem(static_cast<const char*>(nullptr));
  EXPECT_STREQ(menu.GetItemText(0), "");
}

} // namespace
