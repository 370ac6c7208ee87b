// Note-expression events (carried in the event union).
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

using NoteExpressionTypeID = uint32;
using NoteExpressionValue = double;

struct NoteExpressionValueEvent {
  NoteExpressionTypeID typeId;
  int32 noteId;
  NoteExpressionValue value;
};

struct NoteExpressionTextEvent {
  NoteExpressionTypeID typeId;
  int32 noteId;
  uint32 textLen;
  const TChar* text;
};

} // namespace Vst
} // namespace Steinberg
