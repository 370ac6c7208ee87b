// The block loop of the tests that hold a plug-in's VST 2.4 face against its VST 3 road: two
// channels of signal(channel, frame) in, `blocks` blocks of `frames` frames processed, and each
// output channel's samples joined, the same way through either test host.
#pragma once

#include "tests/hosts/vst2/Vst2Plugin.h"
#include "tests/hosts/vst3/Plugin.h"

#include <vector>

namespace vst2render {

template <class Sample, class Signal>
std::vector<std::vector<Sample>> renderBlocks(orvane::testhost::Plugin& plugin, int frames,
                                              int blocks, Signal signal) {
  std::vector<std::vector<Sample>> out(2);
  for (int b = 0; b < blocks; ++b) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < frames; ++i)
        plugin.input<Sample>(0, size_t(c))[i] = signal(c, b * frames + i);
    plugin.process(frames);
    for (int c = 0; c < 2; ++c)
      out[size_t(c)].insert(out[size_t(c)].end(), plugin.output<Sample>(0, size_t(c)),
                            plugin.output<Sample>(0, size_t(c)) + frames);
  }
  return out;
}

template <class Sample, class Signal>
std::vector<std::vector<Sample>> renderBlocks(orvane::vst2host::Vst2Plugin& plugin, int frames,
                                              int blocks, Signal signal) {
  std::vector<std::vector<Sample>> out(2);
  for (int b = 0; b < blocks; ++b) {
    for (int c = 0; c < 2; ++c)
      for (int i = 0; i < frames; ++i)
        plugin.input<Sample>(c)[i] = signal(c, b * frames + i);
    plugin.process<Sample>(frames);
    for (int c = 0; c < 2; ++c)
      out[size_t(c)].insert(out[size_t(c)].end(), plugin.output<Sample>(c),
                            plugin.output<Sample>(c) + frames);
  }
  return out;
}

} // namespace vst2render
