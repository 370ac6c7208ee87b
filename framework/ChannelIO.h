#pragma once

#include <vector>

// The channel configurations a processor supports, parsed from its channel-I/O string:
// blank-separated "inputs-outputs" tokens such as "1-1 2-2".
class ChannelIO {
public:
  struct Pair {
    int nIn;
    int nOut;
  };

  explicit ChannelIO(const char* text);

  bool Supports(int nIn, int nOut) const;
  const std::vector<Pair>& Pairs() const { return mPairs; }
  // The largest input and output counts of any pair (0 without pairs).
  int MaxInputs() const { return mMaxIn; }
  int MaxOutputs() const { return mMaxOut; }

private:
  std::vector<Pair> mPairs;
  int mMaxIn = 0;
  int mMaxOut = 0;
};
