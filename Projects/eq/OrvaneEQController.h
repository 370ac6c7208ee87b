#pragma once

#include "gui/IEditorController.h"

class IEditor;
class IMeterControl;

// The edit-controller half of the equaliser: the same 13 parameters as the processor, the
// nine factory presets ("Default" and eight generated blobs), the 920 x 315 bitmap editor with
// thirteen knobs, a VU meter and a version label, and the meter reading that the processor
// sends as the message "GAIN".
class OrvaneEQController : public IEditorController {
public:
  static constexpr int kEditorWidth = 920;
  static constexpr int kEditorHeight = 315;

  OrvaneEQController();
  ~OrvaneEQController() override;

  // The factory's create function: a new controller with one reference, or null when it
  // cannot be made (no exception reaches the host).
  static Steinberg::FUnknown* createInstance(void* context);

  // "GAIN" with a readable float attribute "GAIN" moves the meter; while the host bypasses
  // the plug-in every message leaves the meter at 0. True only for the "GAIN" message read.
  bool OnMessage(Steinberg::Vst::IMessage* message) override;
  // Builds the controls again on the current editor (after a change of backing scale).
  void LayoutGUI() override;

  // Attaches the background and every control to g at g's drawing scale (the 2x bitmaps at
  // exactly 2.0), then shows every parameter's value and the last meter reading.
  void BuildControls(IEditor* g);

  // What the meter shows, 0..1 for -60..0 dB (UI thread).
  double MeterValue() const { return mMeterValue; }
  // The editor's meter control, or null while the editor has none.
  IMeterControl* MeterControl();

private:
  void MakeFactoryPresets();
  void ShowMeter();

  double mMeterValue = 0.0;
  // The meter's place in the editor's control list, -1 before the first build. An index
  // rather than a pointer: a scale change deletes the controls before it builds them again,
  // and a message that arrives in between must find nothing rather than a deleted control.
  int mMeterIdx = -1;
};
