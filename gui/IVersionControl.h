#pragma once
// The plug-in's version, shown for a moment in a strip at the bottom of the control after a
// click elsewhere in it.

#include "gui/ITextControl.h"

// The release the editors show.
constexpr const char* kPluginVersionText = "1.1";

class IVersionControl : public ITextControl {
public:
  // The strip is as high as the font size times heightFactor.
  IVersionControl(IEditorDelegate* controller, const IRECT& rect, const IText& text,
                  double heightFactor);

  void OnMouseDown(int x, int y, const IMouseMod& mod) override;
  bool Draw(IEditor* graphics) override;
  // Counts the frames of a showing down; the base dirty flag is not consulted.
  bool IsDirty() override;

  const IRECT& GetStripRECT() const { return mStripRECT; }
  int GetFrameCounter() const { return mFrameCounter; }

  static constexpr int kShowFrames = 30;

protected:
  IRECT mStripRECT;
  int mFrameCounter = 0;
};
