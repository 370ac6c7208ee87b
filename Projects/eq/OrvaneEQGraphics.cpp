#include "Projects/eq/OrvaneEQGraphics.h"

#include "gui/IEditorMac.h"

IEditor* MakeGraphics(IEditorDelegate* controller, int width, int height, int fps) {
  auto* editor = new IEditorMac(controller, width, height, fps);
  editor->SetBundleID(kOrvaneEQBundleID);
  return editor;
}
