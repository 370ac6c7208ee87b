#pragma once

#include "gui/IEditorController.h"

class IEditor;
class IMeterControl;

// The edit-controller half of the compressor: the same nine parameters as the processor, the
// 920 x 315 bitmap editor with its knobs, lamp switches and three VU-style meters, and the
// meters driven by the processor's "GAIN" message.
//
// What the meters show is kept here (MeterDisplay) and copied into the meter controls, so that
// controls built again after a change of backing scale show the same readings.
class OrvaneCompressorController : public IEditorController {
public:
  static constexpr int kEditorWidth = 920;
  static constexpr int kEditorHeight = 315;
  // The bundle identifier through which the editor finds its bitmaps.
  static constexpr const char* kBundleID = "com.Quenmark.aax.OrvaneCompressor";

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
  // Builds the controls again on the current editor (after a change of backing scale).
  void LayoutGUI() override;

  // Attaches the background and every control to g at g's drawing scale (the 2x bitmaps at
  // exactly 2.0), then shows every parameter's value and the meters' readings.
  void BuildControls(IEditor* g);

  const MeterDisplay& Meters() const { return mMeters; }
  // The editor's meter controls, or null while the editor has none.
  IMeterControl* LevelMeter() { return MeterAt(mLevelIdx); }
  IMeterControl* GainReductionMeter() { return MeterAt(mGainReductionIdx); }
  IMeterControl* ThresholdNeedle() { return MeterAt(mNeedleIdx); }

private:
  // A non-finite reading is dropped (the meter keeps what it showed): the meter controls turn
  // readings into frame numbers. Readings beyond the scale are kept; the controls limit the
  // frame they draw.
  static void ShowReading(double& meter, double reading);
  IMeterControl* MeterAt(int idx);
  // Copies the readings and the needle's state into the meter controls.
  void ShowMeters();
  void ReadNeedleFromParams();

  MeterDisplay mMeters;
  // The meters' places in the editor's control list, -1 before the first build. Indices
  // rather than pointers: a scale change deletes the controls before it builds them again,
  // and a message that arrives in between must find nothing rather than a deleted control.
  int mNeedleIdx = -1;
  int mLevelIdx = -1;
  int mGainReductionIdx = -1;
};
