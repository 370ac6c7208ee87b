// Plays sines through the built OrvaneCompressor.vst3 in the VST 3 test host and prints the
// gain each one comes out with, for check_plugin_curve.py.
//
// Usage: comp_plugin_runner BUNDLE < cases
// Each input line: threshold_dB ratio level_dBFS; each output line: the case and the gain in
// dB (rms of the output over rms of the input, over the last quarter second of three
// seconds of a 1 kHz sine, 32-bit samples at 48 kHz, as hosts play it). The other
// parameters hold the detector still between the peaks: manual release at its slowest, the
// shortest attack, no make-up, fully wet.
#include "tests/compressor/CompressorSession.h"

#include <cmath>
#include <cstdio>
#include <iostream>

using namespace compressor_test;

namespace {

constexpr double kRate = 48000.0;
constexpr int32 kBlock = 480;

double GainDb(const std::string& bundle, double threshold, double ratio, double levelDb) {
  std::string error;
  auto session = CompressorSession::open(bundle, error, kSample32, kRate, kBlock);
  if (!session) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  session->setPlain(kThreshold, threshold);
  session->setPlain(kRatio, ratio);
  session->setPlain(kAutoRelease, 0);
  session->setPlain(kRelease, 4.0);
  session->setPlain(kAttack, 0.0);
  Plugin& host = session->host();
  const double amplitude = std::pow(10.0, levelDb / 20.0);
  const long total = long(3 * kRate), measured = long(kRate / 4);
  double inSum = 0, outSum = 0;
  for (long pos = 0; pos < total; pos += kBlock) {
    for (int32 c = 0; c < 2; ++c) {
      float* in = host.input<float>(0, size_t(c));
      for (int32 i = 0; i < kBlock; ++i)
        in[i] = float((c ? 0.5 : 1.0) * amplitude *
                      std::sin(2 * M_PI * 1000.0 * double(pos + i) / kRate));
    }
    host.process(kBlock);
    if (pos >= total - measured) {
      const float* in = host.input<float>(0, 0);
      const float* out = host.output<float>(0, 0);
      for (int32 i = 0; i < kBlock; ++i) {
        inSum += double(in[i]) * in[i];
        outSum += double(out[i]) * out[i];
      }
    }
  }
  return 10 * std::log10(outSum / inSum);
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s BUNDLE < cases\n", argv[0]);
    return 2;
  }
  double threshold, ratio, level;
  while (std::cin >> threshold >> ratio >> level)
    std::printf("%g %g %g %.6f\n", threshold, ratio, level,
                GainDb(argv[1], threshold, ratio, level));
  return 0;
}
