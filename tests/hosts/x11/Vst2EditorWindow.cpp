#include "tests/hosts/x11/Vst2EditorWindow.h"

namespace orvane::x11host {

namespace {

// effEditGetRect's size, or false when the editor gives none (yet).
bool editorSize(vst2host::Vst2Plugin& plugin, int& width, int& height) {
  ERect* rect = nullptr;
  if (!plugin.dispatch(effEditGetRect, 0, 0, &rect) || !rect)
    return false;
  width = rect->right - rect->left;
  height = rect->bottom - rect->top;
  return width > 0 && height > 0;
}

} // namespace

// Some editors know their size only once open: like Ardour, ask again after effEditOpen and
// size the window then.
std::unique_ptr<Vst2EditorWindow> Vst2EditorWindow::open(vst2host::Vst2Plugin& plugin,
                                                         std::string& error) {
  if (!(plugin.effect()->flags & effFlagsHasEditor)) {
    error = "the effect has no editor";
    return nullptr;
  }
  int width = 0, height = 0;
  const bool sizedBeforeOpen = editorSize(plugin, width, height);
  std::unique_ptr<Vst2EditorWindow> editor(new Vst2EditorWindow(plugin));
  editor->window_ =
      HostWindow::create(sizedBeforeOpen ? width : 64, sizedBeforeOpen ? height : 64, error);
  if (!editor->window_)
    return nullptr;
  if (!plugin.dispatch(effEditOpen, 0, 0, editor->window_->parentHandle())) {
    error = "effEditOpen failed";
    return nullptr;
  }
  editor->opened = true;
  if (!editorSize(plugin, width, height)) {
    error = "effEditGetRect gave no size";
    return nullptr;
  }
  editor->window_->resize(width, height);
  editor->idleTimer = editor->loop_.addTimer(kIdleIntervalMs, [&plugin] { plugin.editIdle(); });
  return editor;
}

Vst2EditorWindow::~Vst2EditorWindow() {
  close();
}

void Vst2EditorWindow::close() {
  if (!opened)
    return;
  loop_.remove(idleTimer);
  plugin.dispatch(effEditClose);
  opened = false;
}

} // namespace orvane::x11host
