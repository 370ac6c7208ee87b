#pragma once

#include "framework/KIT_TypedBuf.h"

#include <cstdint>
#include <vector>

// One parameter of a plug-in. It keeps the plain value in its own units (Hz, dB, ratio,
// 0/1), the range, a step, a shaping exponent or a piecewise-linear mapping, and display
// texts; hosts, the editor and the presets speak normalised values in [0, 1].
class IParam {
public:
  enum EParamType : int32_t { kTypeNone = 0, kTypeBool, kTypeInt, kTypeEnum, kTypeDouble };

  static constexpr int kMaxNameLen = 32;   // name, label, group and display texts
  static constexpr int kDisplaySize = 128; // room GetDisplayForHost writes by default

  struct DisplayText {
    int32_t value;
    char text[kMaxNameLen];
  };
  struct BreakPoint {
    double normalized;
    double value;
  };

  IParam() = default;
  IParam(const IParam&) = delete;
  IParam& operator=(const IParam&) = delete;

  // Initialisers: each sets the type only while it is still none. Texts longer than 31
  // characters are cut.
  void InitDouble(const char* name, const char* label, const char* group, bool readOnly,
                  double defaultVal, double minVal, double maxVal, double step, double shape = 1.0);
  void InitBool(const char* name, bool defaultVal, const char* label = "", const char* group = "",
                bool readOnly = false);
  void InitEnum(const char* name, int defaultVal, int count, const char* label = "",
                const char* group = "", bool readOnly = false);
  void InitInt(const char* name, int defaultVal, int minVal, int maxVal, const char* label = "",
               const char* group = "", bool readOnly = false);

  void SetShape(double shape);
  void SetDisplayText(int value, const char* text);
  void AddBreakPoint(double normalized, double value);

  // Host input: x is clamped to [0, 1]; a NaN leaves the value as it is.
  void SetNormalized(double x);
  double GetNormalized() const { return ToNormalized(mValue); }
  double ToNormalized(double plain) const;
  // Plain value for x (x clamped to [0, 1], NaN reads as the current value), not rounded.
  double FromNormalized(double x) const;
  // What SetNormalized(x) would store: FromNormalized, rounded to the step for all but
  // double parameters, within [min, max].
  double PlainForNormalized(double x) const;

  double ToNormalizedFromString(const char* text) const;
  // Parses a display text typed by a user or sent by a host: a display text of the
  // parameter, or a number (optionally followed by the unit label) in displayed form, so a
  // negated display is negated back. False, with *normalized untouched, when it does not
  // parse.
  bool ParseDisplayString(const char* text, double* normalized) const;

  // The display of v (normalised when isNormalized: then shown as SetNormalized would store
  // it). out receives at most outSize bytes, terminated.
  void GetDisplayForHost(bool isNormalized, char* out, bool withDisplayText, double v,
                         int outSize = kDisplaySize) const;
  void GetDisplayForHost(char* out, bool withDisplayText = true) const {
    GetDisplayForHost(false, out, withDisplayText, mValue);
  }
  const char* GetDisplayText(int value) const;
  int NDisplayTexts() const { return mDisplayTexts.GetSize(); }
  const char* GetDisplayTextAtIdx(int idx, int* valueOut = nullptr) const;
  bool MapDisplayText(const char* text, int* valueOut) const;

  const char* GetNameForHost() const { return mName; }
  const char* GetGroupForHost() const { return mGroup; }
  const char* GetLabelForHost() const;
  void GetBounds(double* minOut, double* maxOut) const;
  double DBToAmp() const;

  double Value() const { return mValue; }
  void Set(double plain) { mValue = plain; }
  double Default() const { return mDefault; }
  double Min() const { return mMin; }
  double Max() const { return mMax; }
  double Step() const { return mStep; }
  double Shape() const { return mShape; }
  EParamType Type() const { return EParamType(mType); }
  int DisplayPrecision() const { return mDisplayPrecision; }
  bool CanAutomate() const { return mCanAutomate; }
  void SetCanAutomate(bool canAutomate) { mCanAutomate = canAutomate; }
  bool ReadOnly() const { return mReadOnly; }
  bool NegateDisplay() const { return mNegateDisplay; }
  void SetNegateDisplay(bool negate) { mNegateDisplay = negate; }
  const std::vector<BreakPoint>& BreakPoints() const { return mBreakPoints; }

private:
  double MapNormalized(double x) const;
  double MapPlain(double plain) const;
  const DisplayText* FindDisplayText(int value) const;

  int32_t mType = kTypeNone;
  double mValue = 0.0;
  double mMin = 0.0;
  double mMax = 1.0;
  double mStep = 1.0;
  double mShape = 1.0;
  double mDefault = 0.0;
  int32_t mDisplayPrecision = 0;
  char mName[kMaxNameLen] = "";
  char mLabel[kMaxNameLen] = "";
  char mGroup[kMaxNameLen] = "";
  bool mNegateDisplay = false;
  bool mCanAutomate = true;
  bool mReadOnly = false;
  KIT_TypedBuf<DisplayText> mDisplayTexts{4096};
  std::vector<BreakPoint> mBreakPoints;
};
