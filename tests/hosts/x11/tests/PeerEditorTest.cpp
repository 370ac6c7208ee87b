// The X11 test host against peers whose editors are X11 windows of their own making:
// Debian's zam-plugins (VST 3 and VST 2.4, DPF with OpenGL) and lsp-plugins (VST 2.4, cairo).
// If they embed, draw, take XTest input and leave nothing behind in this host, the host's
// window, run loop and editor calls are what Linux plug-ins expect.
#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"
#include "tests/hosts/x11/Vst2EditorWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvane::x11host {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using testhost::EditCall;
using testhost::Module;
using testhost::Plugin;

const char* const kZamVst3 = "/usr/lib/vst3/ZamComp.vst3";

std::string output(const std::string& name) {
  return std::string(ORVANE_TEST_OUTPUT) + "/" + name;
}

class PeerVst3Editor : public ::testing::Test {
protected:
  void SetUp() override {
    if (!std::filesystem::exists(kZamVst3))
      GTEST_SKIP() << "zam-plugins is not installed";
    std::string error;
    module = Module::load(kZamVst3, error);
    ASSERT_TRUE(module) << error;
    const auto cls = module->findClass(kVstAudioEffectClass);
    ASSERT_TRUE(cls);
    plugin = Plugin::create(*module, cls->cid, error);
    ASSERT_TRUE(plugin) << error;
  }

  std::unique_ptr<Module> module;
  std::unique_ptr<Plugin> plugin;
};

TEST_F(PeerVst3Editor, EmbedsDrawsAndLeavesNothingBehind) {
  std::string error;
  auto editor = EmbeddedView::open(plugin->controller(), error);
  ASSERT_TRUE(editor) << error;
  editor->settle(500);
  const ViewRect size = editor->size();
  EXPECT_GT(size.getWidth(), 100);
  EXPECT_GT(size.getHeight(), 100);

  // The peer made a child window of the host's window and drew into it.
  const auto children = editor->window().children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_TRUE(editor->window().isViewable(children[0]));
  const Image shot = editor->window().screenshot();
  shot.savePng(output("peer_vst3_editor.png"));
  EXPECT_GT(shot.colourCount(), 50u) << "the editor window shows no picture";
  // It drives itself through the host's run loop.
  EXPECT_GE(editor->frame().timerCount() + editor->frame().eventHandlerCount(), 1u);

  editor->close();
  EXPECT_TRUE(editor->window().children().empty());
  EXPECT_EQ(editor->frame().timerCount(), 0u);
  EXPECT_EQ(editor->frame().eventHandlerCount(), 0u);
}

// A drag down on the peer's Threshold knob (centre near (213, 70) in its 800 x 107 editor,
// at its top value by default) reaches the host as one begin, some performs going down, one
// end, for one parameter.
TEST_F(PeerVst3Editor, AnXTestDragOnAKnobReachesTheHostAsOneGesture) {
  std::string error;
  auto editor = EmbeddedView::open(plugin->controller(), error);
  ASSERT_TRUE(editor) << error;
  editor->settle(300);
  HostWindow& window = editor->window();
  window.moveTo(213, 70);
  window.press(1);
  editor->settle(50);
  for (int y = 74; y <= 110; y += 4) {
    window.moveTo(213, y);
    editor->settle(40);
  }
  window.release(1);
  editor->settle(200);

  const auto& log = plugin->log();
  ASSERT_EQ(log.editsOf(EditCall::Kind::Begin).size(), 1u);
  ASSERT_EQ(log.editsOf(EditCall::Kind::End).size(), 1u);
  const auto performs = log.editsOf(EditCall::Kind::Perform);
  ASSERT_GE(performs.size(), 2u);
  const ParamID id = log.editsOf(EditCall::Kind::Begin)[0].id;
  EXPECT_EQ(log.editsOf(EditCall::Kind::End)[0].id, id);
  for (const EditCall& e : performs)
    EXPECT_EQ(e.id, id);
  EXPECT_LT(performs.back().value, performs.front().value);
  EXPECT_NEAR(plugin->controller()->getParamNormalized(id), performs.back().value, 1e-6);
  EXPECT_EQ(log.edits.front().kind, EditCall::Kind::Begin);
  EXPECT_EQ(log.edits.back().kind, EditCall::Kind::End);
}

// VST 2.4: the same road through effEditGetRect / effEditOpen / effEditIdle / effEditClose,
// on an lsp-plugins effect (cairo drawing). (zam's VST 2.4 builds export only the old "main"
// entry point.)
TEST(PeerVst2Editor, OpensAtItsRectDrawsAndCloses) {
  const std::string path = std::string(ORVANE_LSP_VST2_DIR) + "/gate-stereo.so";
  if (!std::filesystem::exists(path))
    GTEST_SKIP() << path << " is not installed";
  std::string error;
  auto plugin = vst2host::Vst2Plugin::load(path, error);
  ASSERT_TRUE(plugin) << error;
  plugin->open(48000, 256);
  auto editor = Vst2EditorWindow::open(*plugin, error);
  ASSERT_TRUE(editor) << error;
  editor->settle(1500);
  const auto children = editor->window().children();
  ASSERT_EQ(children.size(), 1u);
  EXPECT_TRUE(editor->window().isViewable(children[0]));
  const Image shot = editor->window().screenshot();
  shot.savePng(output("peer_vst2_editor.png"));
  EXPECT_GT(shot.colourCount(), 50u) << "the editor window shows no picture";
  editor->close();
  EXPECT_TRUE(editor->window().children().empty());
  plugin->close();
}

} // namespace
} // namespace orvane::x11host
