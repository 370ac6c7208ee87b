#pragma once
// The base of every element of an editor: a rectangle of the draw bitmap with an optional bound
// parameter, a normalised value (0-1), a text style, a blend, dirty flags and the default
// reactions to the mouse and the wheel. The editor routes events to one control and asks every
// control whether it is dirty; a change the user made is pushed to the controller. Every control
// is also a target for host context-menu items, and so a reference-counted FObject; the editor
// nevertheless owns and deletes it.

#include "base/source/fobject.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

#include "framework/KIT_TypedBuf.h"
#include "gui/IChannelBlend.h"
#include "gui/IColor.h"
#include "gui/IMouseMod.h"
#include "gui/IRECT.h"
#include "gui/IText.h"

class IEditor;
class IEditorDelegate;
class IParam;
class IPopupMenu;
class ITextControl;

class IControl : public Steinberg::Vst::IContextMenuTarget, public Steinberg::FObject {
public:
  struct AuxParam {
    double mValue;
    int mParamIdx;
  };

  IControl(IEditorDelegate* controller, const IRECT& rect, int paramIdx = -1, int blendMethod = 0);
  ~IControl() override;

  // ---- host context-menu target ----
  Steinberg::tresult PLUGIN_API queryInterface(const Steinberg::TUID iid, void** obj) override;
  Steinberg::uint32 PLUGIN_API addRef() override { return FObject::addRef(); }
  Steinberg::uint32 PLUGIN_API release() override { return FObject::release(); }
  Steinberg::tresult PLUGIN_API executeMenuItem(Steinberg::int32 tag) override;

  // ---- reactions, in the order the editor's events reach them ----
  // Alt with a default: back to the default; else the right button prompts.
  virtual void OnMouseDown(int x, int y, const IMouseMod& mod);
  virtual void OnMouseUp(int /*x*/, int /*y*/, const IMouseMod& /*mod*/) {}
  virtual void OnMouseDrag(int /*x*/, int /*y*/, int /*dX*/, int /*dY*/, const IMouseMod& /*mod*/) {
  }
  // Back to the default, when one is set.
  virtual void OnMouseDblClick(int x, int y, const IMouseMod& mod);
  // 0.01 per step, 0.001 with Control or Shift.
  virtual void OnMouseWheel(int x, int y, const IMouseMod& mod, int delta);
  virtual bool OnKeyDown(int /*x*/, int /*y*/, int /*key*/) { return false; }
  // Adds the control's own items to the menu of a right click.
  virtual void CreateContextMenu(IPopupMenu* /*menu*/) {}
  virtual void OnMouseOver(int /*x*/, int /*y*/, const IMouseMod& /*mod*/) {}
  virtual void OnMouseOut() {}
  virtual bool Draw(IEditor* graphics) = 0;
  // The highlight mark: a small filled circle near the bottom-right corner.
  virtual bool DrawHighlight(IEditor* graphics);
  // The first value given to a control without a default becomes its default too.
  virtual void SetValue(bool push, double value);
  virtual void SetTextFromTextEntry(const char* /*text*/) {}
  virtual void OnContextMenuItem(int /*tag*/) {}
  virtual void Hide(bool hide);
  virtual void GrayOut(bool gray);
  virtual bool IsHit(int x, int y) { return mTargetRECT.Contains(x, y); }
  // Clamps the value, marks the control dirty and, with push, reports the value to the
  // controller and refreshes the value and name displays.
  virtual void SetDirty(bool push = true);
  virtual void SetClean();
  virtual bool IsDirty() { return mDirty; }
  virtual void ControlHook() {}
  virtual void SetAuxParamValueFromPlug(int auxIdx, double value);
  virtual void SetHighlight(bool on, int colorIdx);

  OBJ_METHODS(IControl, FObject)

  // ---- plain operations ----
  void PromptUserInput();
  void PromptUserInputInRect(IRECT* rect);
  IParam* GetParam() const;
  IEditor* GetGUI() const;
  IEditorDelegate* GetPlug() const { return mController; }
  AuxParam* GetAuxParam(int idx);
  int AuxParamIdx(int paramIdx) const;
  void AddAuxParam(int paramIdx);
  void SetAllAuxParamsFromGUI();
  int NAuxParams() const { return mAuxParams.GetSize(); }

  int ParamIdx() const { return mParamIdx; }
  IRECT* GetRECT() { return &mRECT; }
  IRECT* GetTargetRECT() { return &mTargetRECT; }
  void SetTargetArea(const IRECT& rect) { mTargetRECT = rect; }
  double GetValue() const { return mValue; }
  double GetDefaultValue() const { return mDefaultValue; }
  void SetDefaultValue(double value) { mDefaultValue = value; }
  void Clamp(double lo, double hi) { mClampLo = lo, mClampHi = hi; }
  IText* GetText() { return &mText; }
  void SetText(const IText& text) { mText = text; }
  int GetTextEntryLength() const { return mTextEntryLength; }
  void SetTextEntryLength(int length) { mTextEntryLength = length; }
  const IChannelBlend* GetBlend() const { return &mBlend; }
  bool IsHidden() const { return mHide; }
  bool IsGrayed() const { return mGrayed; }
  bool GetMOWhenGrayed() const { return mMOWhenGrayed; }
  void SetMOWhenGrayed(bool allow) { mMOWhenGrayed = allow; }
  bool GetIgnoreMouse() const { return mIgnoreMouse; }
  void SetIgnoreMouse(bool ignore) { mIgnoreMouse = ignore; }
  bool GetDblAsSingleClick() const { return mDblAsSingleClick; }
  void SetDblAsSingleClick(bool single) { mDblAsSingleClick = single; }
  bool PromptsDisabled() const { return mDisablePrompt; }
  void DisablePrompt(bool disable) { mDisablePrompt = disable; }
  void SetValueDisplayControl(ITextControl* display) { mValDisplayControl = display; }
  void SetNameDisplayControl(ITextControl* display) { mNameDisplayControl = display; }
  void SetTooltip(const char* tooltip) { mTooltip = tooltip; }
  const char* GetTooltip() const { return mTooltip; }
  bool IsHighlighted() const { return mHighlighted; }
  const IColor* GetHighlightColor() const { return mHighlightColor; }

protected:
  // A value every change must keep: NaN refused, then clamped.
  void ClampValue();
  void UpdateValueDisplay(IParam* param);
  void UpdateNameDisplay(IParam* param);

  int mTextEntryLength = 7;
  IText mText;
  IRECT mRECT;
  IRECT mTargetRECT;
  int mParamIdx;
  KIT_TypedBuf<AuxParam> mAuxParams{4096};
  double mValue = 0.0, mDefaultValue = -1.0, mClampLo = 0.0, mClampHi = 1.0;
  bool mDirty = true, mHide = false, mGrayed = false, mRedraw = false, mDisablePrompt = true,
       mDblAsSingleClick = false, mMOWhenGrayed = false, mIgnoreMouse = false;
  IChannelBlend mBlend;
  ITextControl* mValDisplayControl = nullptr;
  ITextControl* mNameDisplayControl = nullptr;
  const char* mTooltip = nullptr;
  IEditorDelegate* mController;
  const IColor* mHighlightColor;
  bool mHighlighted = false;
};
