#include "Projects/compressor/OrvaneCompressorController.h"

#include "Projects/compressor/OrvaneCompressorCids.h"
#include "Projects/compressor/OrvaneCompressorParams.h"

#include "pluginterfaces/vst/ivstmessage.h"

#include <cmath>
#include <cstring>

using namespace Steinberg;

OrvaneCompressorController::OrvaneCompressorController()
    : IFxController(OrvaneCompressor::kProcessorUID, kNumOrvaneCompressorParams,
                    OrvaneCompressor::kNumPresets, OrvaneCompressor::kEffectName,
                    OrvaneCompressor::kEffectName, OrvaneCompressor::kMakerName,
                    OrvaneCompressor::kSubCategories, OrvaneCompressor::kEffectVersion,
                    OrvaneCompressor::kUniqueID, OrvaneCompressor::kMakerID,
                    OrvaneCompressor::kLatency, false, false, false, OrvaneCompressor::kAPI) {
  DeclareOrvaneCompressorParams(*this);
  // The editor (its bitmaps, knobs, switches and meters) is created and attached here.
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
  return true;
}

void OrvaneCompressorController::OnParamChange(int idx, int) {
  if (idx == kIOMetering)
    mMeters.needleHidden = GetParam(kIOMetering)->Value() >= 0.5;
  else if (idx == kThreshold)
    mMeters.thresholdNeedle = GetParam(kThreshold)->GetNormalized();
}
