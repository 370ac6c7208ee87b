// The interface IDs of the view interfaces, defined once for every binary that uses them.
#include "pluginterfaces/gui/iplugview.h"

namespace Steinberg {

DEF_CLASS_IID(IPlugView)
DEF_CLASS_IID(IPlugFrame)

namespace Linux {
DEF_CLASS_IID(IEventHandler)
DEF_CLASS_IID(ITimerHandler)
DEF_CLASS_IID(IRunLoop)
} // namespace Linux

} // namespace Steinberg
