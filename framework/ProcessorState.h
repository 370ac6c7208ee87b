#pragma once

#include "framework/IFxBase.h"
#include "framework/KIT_HeapBuf.h"

#include <vector>

// A processor state (framework header, bypass word, version word, parameter block) read into
// scratch, so that a state is checked whole before any parameter changes. Both halves read
// it: the processor from its own setState, the controller from setComponentState.
struct ProcessorState {
  bool bypassed = false;
  // One plain value per parameter of the layout, in parameter order; read-only parameters
  // are not stored and hold their default. The layout's values are never read: they may
  // belong to a processor whose audio thread is writing them.
  std::vector<double> values;

  // Reads chunk against the parameters of layout. A block with fewer values (a version with
  // fewer parameters wrote it) fills the parameters in order and leaves the rest at their
  // defaults; values past the layout's stored parameters are ignored. False, with this
  // record unspecified, when the header is missing or of another framework version, when the
  // bypass or version word is missing, when the block does not end on a whole value, or when
  // a value read is not finite. Values are clamped into their parameter's range.
  bool Read(const IFxBase& layout, const KIT_HeapBuf& chunk);
};
