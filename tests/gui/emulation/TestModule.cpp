// A module for the loading tests: it counts its entry calls and refuses to load when told to
// through the environment.
#include <cstdlib>

namespace {
int attaches = 0, detaches = 0, dllMainCalls = 0;
}

extern "C" {

__attribute__((visibility("default"))) int WINEMU_dllMain(void*, unsigned long reason, void*) {
  if (reason == 1) {
    ++attaches;
    return getenv("ORVANE_TESTMODULE_REFUSE") ? 0 : 1;
  }
  ++detaches;
  return 1;
}

__attribute__((visibility("default"))) int DllMain(void*, unsigned long, void*) {
  ++dllMainCalls;
  return getenv("ORVANE_TESTMODULE_REFUSE_DLLMAIN") ? 0 : 1;
}

__attribute__((visibility("default"))) int orvaneTestModuleCalls(int which) {
  return which == 0 ? attaches : which == 1 ? detaches : dllMainCalls;
}
}
