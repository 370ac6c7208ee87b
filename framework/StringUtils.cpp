#include "framework/StringUtils.h"

#include "framework/KIT_String.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

void ToLower(char* out, const char* in, int outSize) {
  if (!out || outSize < 1)
    return;
  int i = 0;
  if (in) {
    for (; i < outSize - 1 && in[i]; ++i)
      out[i] = char(std::tolower(static_cast<unsigned char>(in[i])));
  }
  out[i] = 0;
}

bool IsWhitespace(char c) {
  return c == 9 || c == 10 || c == 13 || c == 32;
}

namespace {
// Minutes east of UTC; when local and UTC time fall on different days the clock
// difference is corrected by a whole day.
int UtcOffsetMinutes(const std::tm& local, const std::tm& utc) {
  int diff = (local.tm_hour * 60 + local.tm_min) - (utc.tm_hour * 60 + utc.tm_min);
  const long localDay = long(local.tm_year) * 400 + local.tm_yday;
  const long utcDay = long(utc.tm_year) * 400 + utc.tm_yday;
  if (localDay > utcDay)
    diff += 1440;
  else if (localDay < utcDay)
    diff -= 1440;
  return diff;
}
} // namespace

const char* CurrentTime() {
  static char text[32];
  const std::time_t now = std::time(nullptr);
  std::tm local{}, utc{};
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
  const int offset = UtcOffsetMinutes(local, utc);
  const int size = int(std::strftime(text, sizeof text, "%Y%m%d %H:%M ", &local));
  std::snprintf(text + size, sizeof text - size_t(size), "%c%02d%02d", offset < 0 ? '-' : '+',
                std::abs(offset) / 60, std::abs(offset) % 60);
  return text;
}

void Trace(const char*, const char*, int, const char*, ...) {}

namespace {
const char* FileName(const char* path) {
  if (!path)
    return "";
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}
} // namespace

const char* TraceLinePrefix(const char* text, const char* sourceFile, const char* function) {
  static KIT_String line;
  // A longer text is cut, so that the bracketed source always ends the line.
  constexpr int kMaxText = 1000;
  constexpr int kMaxLine = kMaxText + kTraceFileColumn + kTraceFunctionColumn + 4;
  if (!line.SetFormatted(kMaxLine, "%.*s [%-*.*s %-*.*s]", kMaxText, text ? text : "",
                         kTraceFileColumn, kTraceFileColumn, FileName(sourceFile),
                         kTraceFunctionColumn, kTraceFunctionColumn, function ? function : ""))
    line.Set(nullptr);
  return line.Get();
}
