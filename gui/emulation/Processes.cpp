// Child processes: started with posix_spawn, waited for by polling.
#include "gui/emulation/HandleRecords.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace winemu {

bool processRunning(ProcessRecord* process) {
  if (process->ended)
    return false;
  int status = 0;
  pid_t r = waitpid(process->pid, &status, WNOHANG);
  if (r == 0)
    return true;
  process->ended = true;
  process->status = status;
  return false;
}

void releaseProcess(ProcessRecord* process) {
  processRunning(process); // reap it when it has ended
  delete process;
}

} // namespace winemu

HANDLE CreateProcess(const char* path, int argc, const char* const* argv) {
  if (!path || argc < 0 || (argc > 0 && !argv))
    return nullptr;
  std::vector<char*> args;
  args.push_back(const_cast<char*>(path));
  for (int i = 0; i < argc; ++i)
    args.push_back(const_cast<char*>(argv[i]));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, path, nullptr, nullptr, args.data(), environ) != 0)
    return nullptr;
  auto* process = new winemu::ProcessRecord;
  process->header.tag = WINEMU_TAG_PROCESS;
  process->header.references = 1;
  process->pid = pid;
  process->ended = false;
  process->status = 0;
  return process;
}

int WaitForProcess(HANDLE handle, DWORD ms) {
  auto* header = static_cast<winemu::HandleHeader*>(handle);
  if (!header || header->tag != WINEMU_TAG_PROCESS)
    return WAIT_FAILED;
  auto* process = static_cast<winemu::ProcessRecord*>(handle);
  for (DWORD waited = 0; winemu::processRunning(process); ++waited) {
    if (ms != INFINITE && waited >= ms)
      return WAIT_TIMEOUT;
    usleep(1000);
  }
  return WAIT_OBJECT_0;
}

// There is no window server to bring a process forward; the wait for it to exist stays.
void BringProcessToFront(HANDLE handle) {
  auto* header = static_cast<winemu::HandleHeader*>(handle);
  if (!header || header->tag != WINEMU_TAG_PROCESS)
    return;
  auto* process = static_cast<winemu::ProcessRecord*>(handle);
  for (int i = 0; i < 20 && !process->ended && kill(process->pid, 0) != 0; ++i)
    usleep(50000);
}
