// The editor's control list, parameter binding and redraw bookkeeping.
#include "gui/IEditor.h"

#include "framework/IParam.h"
#include "gui/IBitmapControl.h"
#include "gui/IControl.h"
#include "gui/IEditorDelegate.h"
#include "gui/IPanelControl.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/sys/PIX_SysBitmap.h"

IEditor::IEditor(IEditorDelegate* controller, int width, int height, int fps)
    : mWidth(width), mHeight(height), mFPS(fps > 0 ? fps : kDefaultFPS), mController(controller) {}

IEditor::~IEditor() {
  EndOpenGestures();
  delete mKeyCatcher;
  mKeyCatcher = nullptr;
  DeleteControls();
  DeleteBitmaps();
}

void IEditor::DeleteControls() {
  while (!mControls.empty()) {
    IControl* control = mControls.back();
    mControls.pop_back();
    delete control;
  }
}

void IEditor::DeleteBitmaps() {
  delete mDrawBitmap;
  mDrawBitmap = nullptr;
  delete mTmpBitmap;
  mTmpBitmap = nullptr;
}

void IEditor::CreateDrawBitmaps() {
  DeleteBitmaps();
  mDrawBitmap = new PIX_SysBitmap(mWidth, mHeight);
  mTmpBitmap = new PIX_MemBitmap(0, 0, 4);
}

void IEditor::Resize(int width, int height) {
  mWidth = width;
  mHeight = height;
  mMouseCapture = mMouseX = mMouseY = -1;
  ShowMouseCursor();
  DeleteControls();
  CreateDrawBitmaps();
}

// ---- controls ----

// The editor owns every control it is handed, also the one it fails to keep.
int IEditor::AttachControl(IControl* control) {
  if (!control)
    return -1;
  // A bound control resets (double-click, Alt-click) to its parameter's own default, whatever
  // value the parameter has when the controls are built or rebuilt (a new scale, a reopened
  // editor); without this its first value would become its default.
  if (IsBoundToParam(control) && control->GetDefaultValue() < 0.0) {
    IParam* param = mController->GetParam(control->ParamIdx());
    control->SetDefaultValue(param->ToNormalized(param->Default()));
  }
  try {
    mControls.push_back(control);
  } catch (...) {
    delete control;
    throw;
  }
  return (int)mControls.size() - 1;
}

void IEditor::AttachBackground(int id, const char* name) {
  IBitmap bitmap = LoadIBitmap(id, name, 1);
  IControl* background =
      new IBitmapControl(mController, 0, -1, -1, bitmap, IChannelBlend::kBlendClobber);
  try {
    mControls.insert(mControls.begin(), background);
  } catch (...) {
    delete background;
    throw;
  }
}

void IEditor::AttachPanelBackground(const IColor* color) {
  IControl* panel =
      new IPanelControl(mController, IRECT(0, 0, mWidth, mHeight), color ? *color : COLOR_BLACK);
  mControls.insert(mControls.begin(), panel);
}

IControl* IEditor::GetControl(int idx) const {
  return idx >= 0 && idx < (int)mControls.size() ? mControls[idx] : nullptr;
}

void IEditor::SetKeyCatcher(IControl* control) {
  if (control == mKeyCatcher)
    return;
  delete mKeyCatcher;
  mKeyCatcher = control;
}

// ---- values ----

void IEditor::SetParameterFromPlug(int paramIdx, double value, bool normalized) {
  if (!normalized) {
    IParam* param = mController ? mController->GetParam(paramIdx) : nullptr;
    if (!param)
      return; // a plain value cannot be placed without its parameter
    value = param->ToNormalized(value);
  }
  for (IControl* control : mControls) {
    if (control->ParamIdx() == paramIdx)
      control->SetValue(false, value);
    const int aux = control->AuxParamIdx(paramIdx);
    if (aux >= 0)
      control->SetAuxParamValueFromPlug(aux, value);
  }
}

void IEditor::PushParameterValue(int paramIdx, double normalized) {
  for (IControl* control : mControls)
    if (control->ParamIdx() == paramIdx)
      control->SetValue(true, normalized);
}

void IEditor::SetAllControlsDirty() {
  for (IControl* control : mControls)
    control->SetDirty(false);
}

void IEditor::HideControl(int paramIdx, bool hide) {
  for (IControl* control : mControls)
    if (control->ParamIdx() == paramIdx)
      control->Hide(hide);
}

void IEditor::GrayOutControl(int paramIdx, bool gray) {
  for (IControl* control : mControls)
    if (control->ParamIdx() == paramIdx)
      control->GrayOut(gray);
}

void IEditor::ClampControl(int paramIdx, double lo, double hi, bool normalized) {
  if (!normalized) {
    IParam* param = mController ? mController->GetParam(paramIdx) : nullptr;
    if (!param)
      return;
    lo = param->ToNormalized(lo);
    hi = param->ToNormalized(hi);
  }
  for (IControl* control : mControls)
    if (control->ParamIdx() == paramIdx)
      control->Clamp(lo, hi);
}

void IEditor::SetControlHighlight(int paramIdx, bool on, int colorIdx) {
  for (IControl* control : mControls)
    if (control->ParamIdx() == paramIdx)
      control->SetHighlight(on, colorIdx);
}

void IEditor::SetStrictDrawing(bool strict) {
  mStrict = strict;
  SetAllControlsDirty();
}

void IEditor::CallControlHooks() {
  for (IControl* control : mControls)
    control->ControlHook();
}

// ---- redraw ----

bool IEditor::IsDirty(IRECT* rect) {
  bool dirty = false;
  for (IControl* control : mControls) {
    if (control->IsDirty()) {
      if (rect)
        *rect = rect->Union(*control->GetRECT());
      dirty = true;
    }
  }
  // The wheel gesture ends one second (fps timer ticks) after its last step.
  if (mWheelFrames > 0) {
    if (mWheelFrames++ >= mFPS) {
      mWheelFrames = 0;
      CloseWheelGesture();
    }
  }
  return dirty;
}

bool IEditor::Draw(IRECT* rect) {
  if (mControls.empty() || !rect)
    return true;
  if (mStrict)
    DrawStrict(*rect);
  else
    DrawNonStrict();
  return DrawScreen(*rect);
}

void IEditor::DrawStrict(const IRECT& rect) {
  mDrawRECT = rect;
  for (IControl* control : mControls)
    if (!control->IsHidden() && rect.Intersects(*control->GetRECT()))
      control->Draw(this);
  for (IControl* control : mControls)
    control->SetClean();
}

void IEditor::DrawNonStrict() {
  IControl* background = mControls[0];
  if (background->IsDirty()) {
    mDrawRECT = *background->GetRECT();
    for (size_t i = 0; i < mControls.size(); ++i) {
      IControl* control = mControls[i];
      if (i == 0 || !control->IsHidden()) {
        control->Draw(this);
        control->SetClean();
      }
    }
    return;
  }
  for (size_t i = 1; i < mControls.size(); ++i) {
    IControl* dirty = mControls[i];
    if (!dirty->IsDirty())
      continue;
    mDrawRECT = *dirty->GetRECT();
    for (IControl* control : mControls)
      if (!control->IsHidden() && (control == dirty || control->GetRECT()->Intersects(mDrawRECT)))
        control->Draw(this);
    dirty->SetClean();
  }
}
