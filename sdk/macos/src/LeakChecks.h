// Allocations that are meant to live as long as the process, told apart from leaks when the
// build runs under the leak checker.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define ORVANE_LEAK_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVANE_LEAK_CHECKS 1
#endif
#endif
#ifdef ORVANE_LEAK_CHECKS
#include <sanitizer/lsan_interface.h>
#endif

namespace cfstub {

// While one of these is alive, what this thread allocates is not counted as a leak: a library
// that keeps some blocks for the rest of the process (fontconfig's configuration, the string
// constants the code names, which the platform keeps in the binary's own image).
class KeptForTheProcess {
public:
  KeptForTheProcess() {
#ifdef ORVANE_LEAK_CHECKS
    __lsan_disable();
#endif
  }
  ~KeptForTheProcess() {
#ifdef ORVANE_LEAK_CHECKS
    __lsan_enable();
#endif
  }
  KeptForTheProcess(const KeptForTheProcess&) = delete;
  KeptForTheProcess& operator=(const KeptForTheProcess&) = delete;
};

} // namespace cfstub
