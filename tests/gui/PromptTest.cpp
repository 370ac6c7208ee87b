// Parameter prompts: named values through a menu, numbers through a text entry, and the typed
// text turned back into a value through the parameter's own display parsing.
#include <gtest/gtest.h>

#include "BridgeTestSupport.h"
#include "GuiTestSupport.h"

namespace {

using guitest::FakeController;
using guitest::MenuControl;
using guitest::Pick;
using guitest::ScriptedEditor;

// A controller with a parameter of each kind and an editor with one control per parameter,
// each showing the parameter's current value.
class PromptTest : public ::testing::Test {
protected:
  enum { kDouble, kEnum, kBoolNamed, kInt, kNegated };

  PromptTest() : controller(0), editor(&controller, 200, 100) {
    controller.gui = &editor;
    Add()->InitDouble("Gain", "dB", "", false, 0.0, -12.0, 12.0, 0.1);
    IParam* mode = Add();
    mode->InitEnum("Mode", 1, 3);
    mode->SetDisplayText(0, "Soft");
    mode->SetDisplayText(1, "Medium");
    mode->SetDisplayText(2, "Hard");
    Add()->InitBool("On", false); // named "off" and "on"
    Add()->InitInt("Steps", 5, 0, 10);
    IParam* cut = Add();
    cut->InitDouble("Cut", "dB", "", false, 0.0, 0.0, 20.0, 0.1);
    cut->SetNegateDisplay(true);
    for (int i = 0; i < controller.NParams(); ++i) {
      auto* control = new MenuControl(&controller, IRECT(0, 10 * i, 10, 10 * i + 10), i);
      control->DisablePrompt(false);
      editor.AttachControl(control);
      controls.push_back(control);
      IParam* param = controller.GetParam(i);
      param->Set(param->Default());
      editor.SetParameterFromPlug(i, param->GetNormalized(), true);
    }
  }

  IParam* Add() {
    controller.params.push_back(std::make_unique<IParam>());
    return controller.params.back().get();
  }
  IParam* Param(int idx) { return controller.GetParam(idx); }
  void Prompt(int idx) {
    IRECT rect(1, 2, 3, 4);
    editor.PromptUserInput(controls[idx], Param(idx), &rect);
  }
  // The value the last user edit of a control pushed to the controller.
  double Pushed() const { return controller.lastValue; }

  FakeController controller;
  ScriptedEditor editor;
  std::vector<MenuControl*> controls;
};

TEST_F(PromptTest, EnumShowsItsNamesWithTheCurrentOneChecked) {
  editor.respondToMenu = Pick(2);
  Prompt(kEnum);
  ASSERT_EQ(editor.shownMenus.size(), 1u);
  EXPECT_EQ(editor.shownMenus[0], (std::vector<std::string>{"Soft", "Medium [checked]", "Hard"}));
  EXPECT_EQ(editor.menuRects[0], IRECT(1, 2, 3, 4));
  EXPECT_DOUBLE_EQ(controls[kEnum]->GetValue(), Param(kEnum)->ToNormalized(2));
  EXPECT_DOUBLE_EQ(Pushed(), Param(kEnum)->ToNormalized(2));
  EXPECT_TRUE(editor.textEntries.empty());
}

TEST_F(PromptTest, DismissedMenuChangesNothing) {
  Prompt(kEnum);
  EXPECT_EQ(editor.shownMenus.size(), 1u);
  EXPECT_DOUBLE_EQ(controls[kEnum]->GetValue(), Param(kEnum)->ToNormalized(1));
  EXPECT_TRUE(controller.log.empty());
}

TEST_F(PromptTest, BoolWithNamesIsAMenu) {
  editor.respondToMenu = Pick(1);
  Prompt(kBoolNamed);
  ASSERT_EQ(editor.shownMenus.size(), 1u);
  EXPECT_EQ(editor.shownMenus[0], (std::vector<std::string>{"off [checked]", "on"}));
  EXPECT_DOUBLE_EQ(controls[kBoolNamed]->GetValue(), 1.0);
}

TEST_F(PromptTest, NumbersGetATextEntryStartingAtTheCurrentNumber) {
  struct Case {
    int param;
    const char* initial;
  } cases[] = {{kDouble, "0.0"}, {kInt, "5"}};
  for (const Case& c : cases) {
    editor.textEntries.clear();
    editor.textEntryParams.clear();
    Prompt(c.param);
    ASSERT_EQ(editor.textEntries.size(), 1u) << c.param;
    EXPECT_EQ(editor.textEntries[0], c.initial);
    EXPECT_EQ(editor.textEntryParams[0], Param(c.param));
  }
  EXPECT_TRUE(editor.shownMenus.empty());
}

TEST_F(PromptTest, MissingPiecesOpenNothing) {
  IRECT rect;
  editor.PromptUserInput(nullptr, Param(kEnum), &rect);
  editor.PromptUserInput(controls[kEnum], nullptr, &rect);
  editor.PromptUserInput(controls[kEnum], Param(kEnum), nullptr);
  editor.SetFromStringAfterPrompt(controls[kDouble], nullptr, "3");
  editor.SetFromStringAfterPrompt(nullptr, Param(kDouble), "3");
  EXPECT_TRUE(editor.shownMenus.empty());
  EXPECT_TRUE(editor.textEntries.empty());
  EXPECT_TRUE(controller.log.empty());
}

// What the typed text of a finished entry sets, as the plain value of the parameter.
TEST_F(PromptTest, TypedTextBecomesTheValue) {
  struct Case {
    int param;
    const char* typed;
    double plain;
  } cases[] = {
      {kDouble, "3.5", 3.5},   {kDouble, " -6 dB ", -6.0}, {kDouble, "4.25abc", 4.25},
      {kDouble, "abc", 0.0},   {kDouble, "", 0.0},         {kDouble, "99", 12.0},
      {kNegated, "-3.5", 3.5}, {kNegated, "-7x", 7.0},     {kNegated, "5", 0.0},
      {kEnum, "Hard", 2.0},    {kEnum, "nothing", 0.0},    {kEnum, "2", 2.0},
      {kBoolNamed, "1", 1.0},  {kBoolNamed, "on", 1.0},    {kInt, "7", 7.0},
      {kInt, "-3", 0.0},
  };
  for (const Case& c : cases) {
    controls[c.param]->SetValue(false, Param(c.param)->ToNormalized(Param(c.param)->Default()));
    editor.SetFromStringAfterPrompt(controls[c.param], Param(c.param), c.typed);
    const double expected = Param(c.param)->ToNormalized(c.plain);
    EXPECT_NEAR(controls[c.param]->GetValue(), expected, 1e-12)
        << "param " << c.param << " typed \"" << c.typed << "\"";
  }
}

TEST_F(PromptTest, FinishedTextEntryIsPushedToTheController) {
  editor.typedText = "6";
  Prompt(kDouble);
  ASSERT_FALSE(controls[kDouble]->values.empty());
  EXPECT_TRUE(controls[kDouble]->values.back().first);
  // Long after the press that opened the entry: the value gets a gesture of its own.
  ASSERT_GE(controller.log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(controller.log.end() - 3, controller.log.end()),
            (std::vector<std::string>{"begin 0", "set 0", "end 0"}));
  EXPECT_DOUBLE_EQ(Pushed(), Param(kDouble)->ToNormalized(6.0));
}

} // namespace
