#include "framework/HostNameFromContext.h"

#include "base/source/fstring.h"
#include "framework/IFxBase.h"
#include "pluginterfaces/vst/ivsthostapplication.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

void IdentifyHostFromContext(IFxBase& plug, FUnknown* context) {
  FUnknownPtr<IHostApplication> host(context);
  if (!host)
    return;
  String128 wide = {};
  if (host->getName(wide) != kResultOk)
    return;
  wide[127] = 0;
  char name[128];
  utf16ToUtf8(wide, name);
  plug.SetHost(name, 0);
  plug.OnHostIdentified();
}
