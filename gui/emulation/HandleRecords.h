// The handle records of the system calls. Internal to the emulation.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>

#include "gui/emulation/PlatformSupport.h"

namespace winemu {

// Every handle record starts with these.
struct HandleHeader {
  uint32_t tag;
  std::atomic<int> references;
};

struct ProcessRecord {
  HandleHeader header;
  pid_t pid;
  bool ended; // reaped
  int status;
};

// True while the process runs; reaps it once it has ended.
bool processRunning(ProcessRecord* process);
void releaseProcess(ProcessRecord* process);

} // namespace winemu
