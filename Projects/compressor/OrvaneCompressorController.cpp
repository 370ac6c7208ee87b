#include "Projects/compressor/OrvaneCompressorController.h"

#include "Projects/compressor/IOrvaneSwitchControl.h"
#include "Projects/compressor/OrvaneCompressorCids.h"
#include "Projects/compressor/OrvaneCompressorEditorLayout.h"
#include "Projects/compressor/OrvaneCompressorParams.h"

#include "gui/IEditorMac.h"
#include "gui/IMeterControl.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/IVersionControl.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cmath>
#include <cstring>
#include <memory>

using namespace Steinberg;

OrvaneCompressorController::OrvaneCompressorController()
    : IEditorController(OrvaneCompressor::kProcessorUID, kNumOrvaneCompressorParams,
                        OrvaneCompressor::kNumPresets, OrvaneCompressor::kEffectName,
                        OrvaneCompressor::kEffectName, OrvaneCompressor::kMakerName,
                        OrvaneCompressor::kSubCategories, OrvaneCompressor::kEffectVersion,
                        OrvaneCompressor::kUniqueID, OrvaneCompressor::kMakerID,
                        OrvaneCompressor::kLatency, false, false, false, OrvaneCompressor::kAPI) {
  DeclareOrvaneCompressorParams(*this);
  std::unique_ptr<IEditorMac> editor(new IEditorMac(this, kEditorWidth, kEditorHeight, 0));
  editor->SetBundleID(kBundleID);
  IEditor* graphics = editor.get();
  AttachGraphics(editor.release());
  BuildControls(graphics);
}

OrvaneCompressorController::~OrvaneCompressorController() = default;

FUnknown* OrvaneCompressorController::createInstance(void*) {
  try {
    auto* controller = new OrvaneCompressorController();
    return static_cast<Vst::IEditController*>(controller);
  } catch (...) {
    return nullptr;
  }
}

void OrvaneCompressorController::BuildControls(IEditor* g) {
  if (!g)
    return;
  using namespace OrvaneCompressorLayout;
  const double s = g->GetDrawScale();
  IAttachBackgroundForScale(g, kBackground);
  const IBitmap vu = ILoadBitmapForScale(g, kMeterStrip);
  const IBitmap needle = ILoadBitmapForScale(g, kNeedleStrip);
  const IBitmap strips[] = {ILoadBitmapForScale(g, kLargeKnob), ILoadBitmapForScale(g, kMediumKnob),
                            ILoadBitmapForScale(g, kCrimsonButton),
                            ILoadBitmapForScale(g, kYellowButton)};

  const IText controlText(10, COLOR_BLACK, "Monaco");
  for (const Placement& p : kControls) {
    const int x = IScaledCoordinate(p.x, s), y = IScaledCoordinate(p.y, s);
    const IBitmap& strip = strips[p.kind];
    IControl* control =
        p.kind == kCrimsonSwitch || p.kind == kYellowSwitch
            ? static_cast<IControl*>(new IOrvaneSwitchControl(this, x, y, p.param, strip))
            : new IOrvaneKnobControl(this, x, y, p.param, strip, IKnobControl::kVertical, 2.0);
    g->AttachControl(control); // owned by the editor from here, also if SetText fails
    control->SetText(controlText);
  }
  const int meterX = IScaledCoordinate(kLevelMeterX, s);
  const int meterY = IScaledCoordinate(kLevelMeterY, s);
  mNeedleIdx = g->AttachControl(
      new IMeterControl(this, meterX, meterY, -1, needle, kNeedleFirstFrame, kNeedleLastFrame));
  mLevelIdx = g->AttachControl(new IMeterControl(this, meterX, meterY, -1, vu));
  mGainReductionIdx =
      g->AttachControl(new IMeterControl(this, IScaledCoordinate(kGainReductionMeterX, s),
                                         IScaledCoordinate(kGainReductionMeterY, s), -1, vu));
  const IRECT versionRect =
      IScaledRect(kVersionRect[0], kVersionRect[1], kVersionRect[2], kVersionRect[3], s);
  g->AttachControl(new IVersionControl(this, versionRect, IText(12, COLOR_BLACK, "Arial"), s));

  SetAllGUIParamsFromPlug();
  ReadNeedleFromParams();
  ShowMeters();
}

void OrvaneCompressorController::LayoutGUI() {
  BuildControls(GetGUI());
}

IMeterControl* OrvaneCompressorController::MeterAt(int idx) {
  IEditor* g = GetGUI();
  return g ? dynamic_cast<IMeterControl*>(g->GetControl(idx)) : nullptr;
}

void OrvaneCompressorController::ShowMeters() {
  if (IMeterControl* level = LevelMeter())
    level->SetValue(false, mMeters.level);
  if (IMeterControl* reduction = GainReductionMeter())
    reduction->SetValue(false, mMeters.gainReduction);
  if (IMeterControl* needle = ThresholdNeedle()) {
    needle->SetValue(false, mMeters.thresholdNeedle);
    if (needle->IsHidden() != mMeters.needleHidden)
      needle->Hide(mMeters.needleHidden);
  }
}

void OrvaneCompressorController::ShowReading(double& meter, double reading) {
  if (std::isfinite(reading))
    meter = reading;
}

bool OrvaneCompressorController::OnMessage(Vst::IMessage* message) {
  const char* id = message ? message->getMessageID() : nullptr;
  Vst::IAttributeList* attributes = message ? message->getAttributes() : nullptr;
  if (id && attributes && std::strcmp(id, OrvaneCompressor::kMeterMessageID) == 0) {
    double reading = 0.0;
    if (attributes->getFloat(OrvaneCompressor::kLevelAttribute, reading) == kResultOk)
      ShowReading(mMeters.level, reading);
    if (attributes->getFloat(OrvaneCompressor::kGainReductionAttribute, reading) == kResultOk)
      ShowReading(mMeters.gainReduction, reading);
  }
  if (GetBypassed()) {
    mMeters.level = 0.0;
    mMeters.gainReduction = 1.0;
  }
  ShowMeters();
  return true;
}

void OrvaneCompressorController::ReadNeedleFromParams() {
  mMeters.needleHidden = GetParam(kIOMetering)->Value() >= 0.5;
  mMeters.thresholdNeedle = GetParam(kThreshold)->GetNormalized();
}

void OrvaneCompressorController::OnParamChange(int idx, int) {
  if (idx != kIOMetering && idx != kThreshold)
    return;
  ReadNeedleFromParams();
  ShowMeters();
}
