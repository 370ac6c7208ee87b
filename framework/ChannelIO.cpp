#include "framework/ChannelIO.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/StringUtils.h"

ChannelIO::ChannelIO(const char* text) {
  if (!text)
    return;
  // Counts above this are typing errors, not channel layouts; they would only size buffers.
  constexpr int kMaxChannels = 64;
  while (*text) {
    while (*text && IsWhitespace(*text))
      ++text;
    const char* end = text;
    while (*end && !IsWhitespace(*end))
      ++end;
    char token[32] = {};
    const size_t n = std::min(size_t(end - text), sizeof token - 1);
    std::memcpy(token, text, n);
    int in = 0, out = 0;
    if (n && std::sscanf(token, "%d-%d", &in, &out) == 2 && in >= 0 && out >= 0 &&
        in <= kMaxChannels && out <= kMaxChannels) {
      mPairs.push_back({in, out});
      mMaxIn = std::max(mMaxIn, in);
      mMaxOut = std::max(mMaxOut, out);
    }
    text = end;
  }
}

bool ChannelIO::Supports(int nIn, int nOut) const {
  return std::any_of(mPairs.begin(), mPairs.end(),
                     [&](const Pair& p) { return p.nIn == nIn && p.nOut == nOut; });
}
