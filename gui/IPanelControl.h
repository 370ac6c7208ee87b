#pragma once
// A rectangle filled with one colour.

#include "gui/IControl.h"

class IPanelControl : public IControl {
public:
  IPanelControl(IEditorDelegate* controller, const IRECT& rect, const IColor& color)
      : IControl(controller, rect), mColor(color) {}

  bool Draw(IEditor* graphics) override;

protected:
  IColor mColor;
};
