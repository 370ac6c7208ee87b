#include "gui/IControl.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "framework/IParam.h"
#include "gui/EditorHostRules.h"
#include "gui/IEditor.h"
#include "gui/IEditorDelegate.h"
#include "gui/ITextControl.h"

namespace {
// The colours SetHighlight chooses by index.
const IColor kHighlightColors[] = {COLOR_RED, COLOR_BLUE, COLOR_GREEN, COLOR_YELLOW};
} // namespace

IControl::IControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx, int blendMethod)
    : mRECT(rect), mTargetRECT(rect), mParamIdx(paramIdx), mBlend(blendMethod, 1.0f),
      mController(controller), mHighlightColor(&kHighlightColors[0]) {}

IControl::~IControl() = default;

Steinberg::tresult PLUGIN_API IControl::queryInterface(const Steinberg::TUID iid, void** obj) {
  if (!obj)
    return Steinberg::kInvalidArgument;
  QUERY_INTERFACE(iid, obj, Steinberg::Vst::IContextMenuTarget::iid,
                  Steinberg::Vst::IContextMenuTarget)
  return FObject::queryInterface(iid, obj);
}

Steinberg::tresult PLUGIN_API IControl::executeMenuItem(Steinberg::int32 tag) {
  OnContextMenuItem(tag);
  return Steinberg::kResultOk;
}

// ---- values and dirt ----

void IControl::SetValue(bool push, double value) {
  if (std::isnan(value))
    return;
  if (mDefaultValue < 0.0) {
    mValue = mDefaultValue = value;
    return;
  }
  if (value != mValue) {
    mValue = value;
    SetDirty(push);
    mRedraw = true;
  }
}

void IControl::ClampValue() {
  if (std::isnan(mValue))
    mValue = mClampLo;
  if (mClampLo > mValue)
    mValue = mClampLo;
  else if (mClampHi < mValue)
    mValue = mClampHi;
}

void IControl::SetDirty(bool push) {
  ClampValue();
  mDirty = true;
  if (!push || mParamIdx < 0 || !mController)
    return;
  IParam* param = GetParam();
  if (!param)
    return; // bound to a parameter the controller does not have: nothing to report
  mController->SetParameterFromGUI(mParamIdx, mValue);
  if (mValDisplayControl)
    UpdateValueDisplay(param);
  if (mNameDisplayControl)
    UpdateNameDisplay(param);
}

void IControl::UpdateValueDisplay(IParam* param) {
  // Room for all the display writer may fill; the text shows its first 32 characters.
  char display[IParam::kDisplaySize] = "";
  param->GetDisplayForHost(display, true);
  char text[2 * IParam::kMaxNameLen + 2];
  std::snprintf(text, sizeof text, "%.32s %.32s", display, param->GetLabelForHost());
  if (std::strcmp(text, mValDisplayControl->GetTextString()) != 0) {
    mValDisplayControl->SetDirty(false);
    mValDisplayControl->SetTextFromPlug(text);
  }
}

void IControl::UpdateNameDisplay(IParam* param) {
  const char* name = param->GetNameForHost();
  if (std::strcmp(name, mNameDisplayControl->GetTextString()) != 0) {
    mNameDisplayControl->SetDirty(false);
    mNameDisplayControl->SetTextFromPlug(name);
  }
}

void IControl::SetClean() {
  mDirty = mRedraw;
  mRedraw = false;
}

void IControl::Hide(bool hide) {
  mHide = hide;
  mRedraw = true;
  SetDirty(false);
}

void IControl::GrayOut(bool gray) {
  mGrayed = gray;
  mBlend.mWeight = gray ? 0.25f : 1.0f;
  SetDirty(false);
}

// ---- mouse ----

void IControl::OnMouseDown(int, int, const IMouseMod& mod) {
  if (mod.A && mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    if (IEditor* gui = GetGUI())
      gui->ReleaseMouseCapture();
    SetDirty(true);
  } else if (mod.R) {
    PromptUserInput();
  }
}

void IControl::OnMouseDblClick(int, int, const IMouseMod&) {
  if (mDefaultValue >= 0.0) {
    mValue = mDefaultValue;
    SetDirty(true);
  }
}

void IControl::OnMouseWheel(int, int, const IMouseMod& mod, int delta) {
  if (delta == 0)
    return; // no step: nothing to push
  const bool fine = EditorHostRules::WheelFineStep(mod);
  mValue += delta * (fine ? 0.001 : 0.01);
  SetDirty(true);
}

// ---- prompts ----

void IControl::PromptUserInput() {
  IParam* param = GetParam();
  if (!param || mDisablePrompt)
    return;
  IRECT rect = mRECT;
  if (param->NDisplayTexts() <= 0) {
    // Room for a number, centred on the control.
    const int cx = (int)((mRECT.L + mRECT.R) * 0.5), cy = (int)((mRECT.T + mRECT.B) * 0.5);
    rect = IRECT(cx - 15, cy - 8, cx + 15, cy + 8);
  }
  PromptUserInputInRect(&rect);
}

void IControl::PromptUserInputInRect(IRECT* rect) {
  IParam* param = GetParam();
  IEditor* gui = GetGUI();
  if (!param || mDisablePrompt || !rect || !gui)
    return;
  gui->PromptUserInput(this, param, rect);
  mRedraw = true;
}

// ---- parameters ----

IParam* IControl::GetParam() const {
  return mParamIdx >= 0 && mController ? mController->GetParam(mParamIdx) : nullptr;
}

IEditor* IControl::GetGUI() const {
  return mController ? mController->GetGUI() : nullptr;
}

IControl::AuxParam* IControl::GetAuxParam(int idx) {
  return idx >= 0 && idx < mAuxParams.GetSize() ? mAuxParams.Get() + idx : nullptr;
}

int IControl::AuxParamIdx(int paramIdx) const {
  const AuxParam* aux = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (aux[i].mParamIdx == paramIdx)
      return i;
  return -1;
}

void IControl::AddAuxParam(int paramIdx) {
  mAuxParams.Add(AuxParam{0.0, paramIdx});
}

void IControl::SetAuxParamValueFromPlug(int auxIdx, double value) {
  AuxParam* aux = GetAuxParam(auxIdx);
  if (!aux || aux->mValue == value)
    return;
  aux->mValue = value;
  SetDirty(false);
  mRedraw = true;
}

void IControl::SetAllAuxParamsFromGUI() {
  if (!mController)
    return;
  const AuxParam* aux = mAuxParams.Get();
  for (int i = 0; i < mAuxParams.GetSize(); ++i)
    if (mController->GetParam(aux[i].mParamIdx))
      mController->SetParameterFromGUI(aux[i].mParamIdx, aux[i].mValue);
}

// ---- highlight ----

void IControl::SetHighlight(bool on, int colorIdx) {
  if (colorIdx >= 0 && colorIdx < (int)(sizeof kHighlightColors / sizeof kHighlightColors[0]))
    mHighlightColor = &kHighlightColors[colorIdx];
  mHighlighted = on;
  SetDirty(false);
}

bool IControl::DrawHighlight(IEditor* graphics) {
  if (!mHighlighted || !graphics)
    return true;
  return graphics->FillCircle(mHighlightColor, (float)(mRECT.R - 5), (float)(mRECT.B - 5), 2.0f,
                              &mBlend, true);
}
