#pragma once

#include "Projects/eq/OrvaneEQParamIDs.h"
#include "framework/IFxBase.h"

// The equaliser's 13 parameters, declared identically by the processor and the controller.
// Every one is a double parameter (empty group, not read-only, shape 1.0); the frequency
// parameters map the knob through break points (normalised position, value) so that the
// musically useful range gets most of the travel.
struct OrvaneEQParamSpec {
  static constexpr int kMaxBreakPoints = 6;

  const char* name;
  const char* label;
  double defaultValue;
  double minValue;
  double maxValue;
  double step;
  int nBreakPoints;
  IParam::BreakPoint breakPoints[kMaxBreakPoints];
};

extern const OrvaneEQParamSpec kOrvaneEQParamSpecs[kNumOrvaneEQParams];

// Declares the parameters on a half made with kNumOrvaneEQParams parameters, in index order.
void DeclareOrvaneEQParams(IFxBase& half);
