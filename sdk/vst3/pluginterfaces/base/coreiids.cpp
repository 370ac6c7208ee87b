// The interface IDs of the base interfaces, defined once for every binary that uses them.
#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/base/ipluginbase.h"

namespace Steinberg {

DEF_CLASS_IID(IPluginBase)
DEF_CLASS_IID(IPluginFactory)
DEF_CLASS_IID(IPluginFactory2)
DEF_CLASS_IID(IPluginFactory3)
DEF_CLASS_IID(IBStream)

} // namespace Steinberg
