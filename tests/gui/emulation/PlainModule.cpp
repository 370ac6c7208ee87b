// A module without the emulation's entry: DllMain must never be called on it.
#include <cstdlib>

extern "C" {
__attribute__((visibility("default"))) int DllMain(void*, unsigned long, void*) {
  abort();
}
__attribute__((visibility("default"))) int orvanePlainModuleSymbol() {
  return 42;
}
}
