#include "Projects/eq/OrvaneEQGraphics.h"

#include <memory>

#include "gui/IEditorMac.h"

IEditor* MakeGraphics(IEditorDelegate* controller, int width, int height, int fps) {
  std::unique_ptr<IEditorMac> editor(new IEditorMac(controller, width, height, fps));
  editor->SetBundleID(kOrvaneEQBundleID);
  return editor.release();
}
