#include "gui/IURLControl.h"

#include <cstring>

#include "gui/IEditor.h"

namespace {
void CopyURL(char* out, const char* url) {
  if (!url)
    return;
  std::strncpy(out, url, IURLControl::kURLLen - 1);
  out[IURLControl::kURLLen - 1] = '\0';
}
} // namespace

IURLControl::IURLControl(IEditorDelegate* controller, const IRECT& rect, const char* url,
                         const char* backupURL)
    : IControl(controller, rect) {
  CopyURL(mURL, url);
  CopyURL(mBackupURL, backupURL);
}

void IURLControl::OnMouseDown(int, int, const IMouseMod&) {
  IEditor* gui = GetGUI();
  if (!gui || !mURL[0])
    return;
  if (!gui->OpenURL(mURL) && mBackupURL[0])
    gui->OpenURL(mBackupURL);
}
