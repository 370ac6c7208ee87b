#include "Projects/eq/OrvaneEQController.h"

#include "Projects/eq/OrvaneEQCids.h"
#include "Projects/eq/OrvaneEQFactoryPresets.h"
#include "Projects/eq/OrvaneEQParams.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cstring>

using namespace Steinberg;

OrvaneEQController::OrvaneEQController()
    : IFxController(OrvaneEQ::kProcessorUID, kNumOrvaneEQParams, OrvaneEQ::kNumPresets,
                    OrvaneEQ::kEffectName, OrvaneEQ::kEffectName, OrvaneEQ::kMakerName,
                    OrvaneEQ::kSubCategories, OrvaneEQ::kEffectVersion, OrvaneEQ::kUniqueID,
                    OrvaneEQ::kMakerID, OrvaneEQ::kLatency, false, false, false, kAPIVST2) {
  DeclareOrvaneEQParams(*this);
  // The editor (920 x 315, its controls and the meter) is attached here once it exists.
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
  return handled;
}
