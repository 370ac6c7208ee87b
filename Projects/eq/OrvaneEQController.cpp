#include "Projects/eq/OrvaneEQController.h"

#include "Projects/eq/OrvaneEQCids.h"
#include "Projects/eq/OrvaneEQEditorLayout.h"
#include "Projects/eq/OrvaneEQFactoryPresets.h"
#include "Projects/eq/OrvaneEQGraphics.h"
#include "Projects/eq/OrvaneEQParams.h"

#include "gui/IClampedKnobControl.h"
#include "gui/IEditor.h"
#include "gui/IMeterControl.h"
#include "gui/IOrvaneKnobControl.h"
#include "gui/IVersionControl.h"
#include "pluginterfaces/vst/ivstmessage.h"

#include <cstring>

using namespace Steinberg;

OrvaneEQController::OrvaneEQController()
    : IEditorController(OrvaneEQ::kProcessorUID, kNumOrvaneEQParams, OrvaneEQ::kNumPresets,
                        OrvaneEQ::kEffectName, OrvaneEQ::kEffectName, OrvaneEQ::kMakerName,
                        OrvaneEQ::kSubCategories, OrvaneEQ::kEffectVersion, OrvaneEQ::kUniqueID,
                        OrvaneEQ::kMakerID, OrvaneEQ::kLatency, false, false, false, kAPIVST2) {
  DeclareOrvaneEQParams(*this);
  IEditor* editor = MakeGraphics(this, kEditorWidth, kEditorHeight, 0);
  AttachGraphics(editor);
  BuildControls(editor);
  MakeFactoryPresets();
}

OrvaneEQController::~OrvaneEQController() = default;

FUnknown* OrvaneEQController::createInstance(void* /*context*/) {
  try {
    auto* controller = new OrvaneEQController();
    return static_cast<Vst::IEditController*>(controller);
  } catch (...) {
    return nullptr;
  }
}

void OrvaneEQController::MakeFactoryPresets() {
  MakeDefaultPreset("Default", 1);
  for (const OrvaneEQFactoryPreset& preset : kOrvaneEQFactoryPresets) {
    MakePresetFromBlob(preset.name, preset.base64, OrvaneEQFactoryPreset::kBlobBytes,
                       OrvaneEQFactoryPreset::kProcessorChunkBytes);
  }
}

void OrvaneEQController::BuildControls(IEditor* g) {
  if (!g)
    return;
  using namespace OrvaneEQLayout;
  const double s = g->GetDrawScale();
  IAttachBackgroundForScale(g, kBackground);
  const IBitmap meter = ILoadBitmapForScale(g, kMeterStrip);
  const IBitmap knobs[] = {ILoadBitmapForScale(g, kLargeKnob), ILoadBitmapForScale(g, kMediumKnob),
                           ILoadBitmapForScale(g, kSmallKnob)};

  const IText knobText(10, COLOR_BLACK, "Monaco");
  for (const Knob& k : kKnobs) {
    const int x = IScaledCoordinate(k.x, s), y = IScaledCoordinate(k.y, s);
    IKnobMultiControl* knob = k.lastFrame > 0
                                  ? static_cast<IKnobMultiControl*>(new IClampedKnobControl(
                                        this, x, y, k.param, knobs[k.size], k.firstFrame,
                                        k.lastFrame, IKnobControl::kVertical, 2.0))
                                  : new IOrvaneKnobControl(this, x, y, k.param, knobs[k.size],
                                                           IKnobControl::kVertical, 2.0);
    g->AttachControl(knob); // owned by the editor from here, also if SetText fails
    knob->SetText(knobText);
  }
  mMeterIdx = g->AttachControl(new IMeterControl(this, IScaledCoordinate(kMeterX, s),
                                                 IScaledCoordinate(kMeterY, s), -1, meter));
  const IRECT versionRect =
      IScaledRect(kVersionRect[0], kVersionRect[1], kVersionRect[2], kVersionRect[3], s);
  g->AttachControl(new IVersionControl(this, versionRect, IText(12, COLOR_BLACK, "Arial"), s));

  SetAllGUIParamsFromPlug();
  ShowMeter();
}

void OrvaneEQController::LayoutGUI() {
  BuildControls(GetGUI());
}

IMeterControl* OrvaneEQController::MeterControl() {
  IEditor* g = GetGUI();
  return g ? dynamic_cast<IMeterControl*>(g->GetControl(mMeterIdx)) : nullptr;
}

void OrvaneEQController::ShowMeter() {
  if (IMeterControl* meter = MeterControl())
    meter->SetValue(false, mMeterValue);
}

bool OrvaneEQController::OnMessage(Vst::IMessage* message) {
  bool handled = false;
  const char* id = message ? message->getMessageID() : nullptr;
  if (id && std::strcmp(id, "GAIN") == 0) {
    Vst::IAttributeList* attributes = message->getAttributes();
    double value = 0.0;
    if (attributes && attributes->getFloat("GAIN", value) == kResultOk) {
      mMeterValue = value;
      handled = true;
    }
  }
  if (GetBypassed()) {
    mMeterValue = 0.0;
  }
  ShowMeter();
  return handled;
}
