#pragma once

#include "framework/IFxController.h"

// The edit-controller half of the compressor: the same nine parameters as the processor, the
// host's generated controls, and the meters driven by the processor's "GAIN" message.
//
// The bitmap editor is not built yet: createView answers no view, so hosts show their own
// controls. Until it comes, what its three meter controls would show (the level meter, the
// gain-reduction meter and the threshold needle over the level meter) is kept here in
// MeterDisplay; the editor's controls will take these values over.
class OrvaneCompressorController : public IFxController {
public:
  // What the editor's meters show, each on its control's scale (0 to 1, the first to the
  // last frame).
  struct MeterDisplay {
    double level = 0.0;         // level meter: 1.0 at full scale
    double gainReduction = 1.0; // gain-reduction meter: 1.0 at no reduction
    double thresholdNeedle = 1.0;
    bool needleHidden = false; // hidden while the meters tap the output
  };

  OrvaneCompressorController();
  ~OrvaneCompressorController() override;

  // The factory's create function: a new controller as its IEditController interface, or
  // null when it cannot be made (no exception reaches the host).
  static Steinberg::FUnknown* createInstance(void* context);

  // "GAIN" from the processor: the two readings to the meters (bypassed: meters at rest).
  bool OnMessage(Steinberg::Vst::IMessage* message) override;
  // "I/O Metering" hides or shows the threshold needle; "Threshold" moves it.
  void OnParamChange(int paramIdx, int sampleOffset) override;

  const MeterDisplay& Meters() const { return mMeters; }

private:
  // A non-finite reading is dropped (the meter keeps what it showed): the meter controls turn
  // readings into frame numbers. Readings beyond the scale are kept; the controls limit the
  // frame they draw.
  static void ShowReading(double& meter, double reading);

  MeterDisplay mMeters;
};
