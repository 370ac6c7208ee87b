// The shipped editors inside our X11 host, as a Linux host shows them.
// GoogleTest before Xlib, whose macros (None, Bool, Status) clash with it.
#include <gtest/gtest.h>

#include "tests/hosts/vst3/Plugin.h"
#include "tests/hosts/x11/EmbeddedView.h"

#include <filesystem>

namespace orvane::x11 {
namespace {

using namespace Steinberg;
using namespace Steinberg::Vst;
using testhost::Module;
using testhost::Plugin;
using x11host::EmbeddedView;
using x11host::Image;

std::string Output(const std::string& name) {
  return std::string(ORVANE_TEST_OUTPUT) + "/" + name;
}

TEST(EditorEmbedding, Explore) {
  std::string error;
  auto module = Module::load(ORVANE_EQ_BUNDLE, error);
  ASSERT_TRUE(module) << error;
  auto cls = module->findClass(kVstAudioEffectClass);
  ASSERT_TRUE(cls);
  auto plugin = Plugin::create(*module, cls->cid, error);
  ASSERT_TRUE(plugin) << error;
  auto editor = EmbeddedView::open(plugin->controller(), error);
  ASSERT_TRUE(editor) << error;
  editor->settle(500);
  printf("size %d %d\n", editor->size().getWidth(), editor->size().getHeight());
  printf("fds %zu timers %zu\n", editor->frame().eventHandlerCount(), editor->frame().timerCount());
  editor->window().screenshot().savePng(Output("eq_x11.png"));
  editor->close();
}

} // namespace
} // namespace orvane::x11
