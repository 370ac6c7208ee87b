#include "FakeHostObject.h"

#include <cstdio>

namespace aaxhost {

void CallLog::Record(const char* format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  mCalls.emplace_back(text);
}

std::vector<std::string> CallLog::Take() {
  std::vector<std::string> calls;
  calls.swap(mCalls);
  return calls;
}

std::vector<std::string> CallLog::Matching(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : mCalls) {
    if (call.compare(0, prefix.size(), prefix) == 0)
      found.push_back(call);
  }
  return found;
}

} // namespace aaxhost
