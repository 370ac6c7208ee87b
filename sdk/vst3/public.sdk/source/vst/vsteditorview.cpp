#include "public.sdk/source/vst/vsteditorview.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

EditorView::EditorView(EditController* controller_, ViewRect* size)
    : CPluginView(size), controller(controller_) {
  if (controller)
    controller->addRef();
}

EditorView::~EditorView() {
  if (controller) {
    controller->editorDestroyed(this);
    controller->release();
  }
}

void EditorView::attachedToParent() {
  if (controller)
    controller->editorAttached(this);
}

void EditorView::removedFromParent() {
  if (controller)
    controller->editorRemoved(this);
}

} // namespace Vst
} // namespace Steinberg
