#pragma once
// An area that opens a web address (or, when that fails, a backup address) when clicked.

#include "gui/IControl.h"

class IURLControl : public IControl {
public:
  static constexpr int kURLLen = 256;

  IURLControl(IEditorDelegate* controller, const IRECT& rect, const char* url,
              const char* backupURL = nullptr);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IEditor* /*graphics*/) override { return true; }

  const char* GetURL() const { return mURL; }
  const char* GetBackupURL() const { return mBackupURL; }

protected:
  char mURL[kURLLen] = "";
  char mBackupURL[kURLLen] = "";
};
