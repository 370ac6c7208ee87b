// The host-name lookup both halves run on the name a host gives: any text (cut at its first
// NUL, as the halves receive it) yields a host ID, and that ID has a name.
#include "framework/HostFromName.h"

#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  const int host = LookUpHost(name.c_str());
  char text[kHostNameStrSize + 8];
  std::memset(text, 'x', sizeof text);
  GetHostNameStr(host, text);
  if (host < 0 || std::strlen(text) == 0 || std::strlen(text) >= size_t(kHostNameStrSize))
    std::abort();
  return 0;
}
