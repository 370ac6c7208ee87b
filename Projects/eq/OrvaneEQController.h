#pragma once

#include "framework/IFxController.h"

// The edit-controller half of the equaliser: the same 13 parameters as the processor, the
// nine factory presets ("Default" and eight generated blobs), and the meter reading that the
// processor sends as the message "GAIN".
//
// The bitmap editor is not built yet: the controller makes no graphics, so hosts show their
// own generated controls. When it comes, the controller derives from the editor controller,
// builds the editor where the constructor marks it, and the meter reading below becomes the
// value of the editor's meter control.
class OrvaneEQController : public IFxController {
public:
  OrvaneEQController();
  ~OrvaneEQController() override;

  // The factory's create function: a new controller with one reference, or null when it
  // cannot be made (no exception reaches the host).
  static Steinberg::FUnknown* createInstance(void* context);

  // "GAIN" with a readable float attribute "GAIN" moves the meter; while the host bypasses
  // the plug-in every message leaves the meter at 0. True only for the "GAIN" message read.
  bool OnMessage(Steinberg::Vst::IMessage* message) override;

  // What the meter shows, 0..1 for -60..0 dB (UI thread).
  double MeterValue() const { return mMeterValue; }

private:
  void MakeFactoryPresets();

  double mMeterValue = 0.0;
};
