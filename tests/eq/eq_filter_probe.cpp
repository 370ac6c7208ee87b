// Command-line probe of the filter stages for the Python reference checks.
//
// Reads one command per line from stdin and answers with one line each:
//   dump KIND                 -> the kind's whole coefficient block, hex doubles
//   grids KIND                -> "freq ... gain ... q ..." grid points of a built stage
//   case KIND RATE GAIN FREQ Q F1 F2 ...
//                             -> "num c0..c5 k den c6..c11 mag dB1 dB2 ..." : the running
//                                coefficients of a stage set to GAIN/FREQ/Q at RATE, and its
//                                steady-state gain at each Fi measured by filtering a sine
// KIND is one of parametric, highshelf, lowshelf, lowpass, highpass.

#include "Projects/eq/CHighShelf.h"
#include "Projects/eq/CHighpass.h"
#include "Projects/eq/CLowShelf.h"
#include "Projects/eq/CLowpass.h"
#include "Projects/eq/CParametric.h"
#include "Projects/eq/EqCoefficientTables.h"
#include "tests/eq/OwnedStage.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

OwnedStage MakeStage(const std::string& kind) {
  if (kind == "parametric") {
    return MakeOwnedStage<CParametric>();
  }
  if (kind == "highshelf") {
    return MakeOwnedStage<CHighShelf>();
  }
  if (kind == "lowshelf") {
    return MakeOwnedStage<CLowShelf>();
  }
  if (kind == "lowpass") {
    return MakeOwnedStage<CLowpass>();
  }
  if (kind == "highpass") {
    return MakeOwnedStage<CHighpass>();
  }
  return OwnedStage(nullptr, [](CFilter*) {});
}

struct Block {
  const double* data;
  size_t size;
};

bool BlockOf(const std::string& kind, Block& out) {
  using namespace eqtables;
  if (kind == "parametric") {
    out = {kParametric, std::size(kParametric)};
  } else if (kind == "highshelf") {
    out = {kHighShelf, std::size(kHighShelf)};
  } else if (kind == "lowshelf") {
    out = {kLowShelf, std::size(kLowShelf)};
  } else if (kind == "lowpass") {
    out = {kLowpass, std::size(kLowpass)};
  } else if (kind == "highpass") {
    out = {kHighpass, std::size(kHighpass)};
  } else {
    return false;
  }
  return true;
}

struct Setting {
  std::string kind;
  double rate, gain, freq, q;
};

OwnedStage MakeSetStage(const Setting& s) {
  auto stage = MakeStage(s.kind);
  if (stage) {
    stage->SetSampleRate(s.rate);
    stage->SetFreq(s.freq);
    stage->SetGain(s.gain);
    stage->SetQ(s.q);
  }
  return stage;
}

// Steady-state gain at `hz`: filter a unit sine long enough for every pole to settle, then fit
// A sin + B cos to the tail by least squares.
double MeasureGainDb(const Setting& s, double hz) {
  constexpr int kWarm = 1 << 17;
  constexpr int kFit = 1 << 15;
  constexpr int kBlock = 512;
  auto stage = MakeSetStage(s);
  const double w = 2.0 * M_PI * hz / s.rate;
  std::vector<double> y(kWarm + kFit);
  for (size_t n = 0; n < y.size(); ++n) {
    y[n] = std::sin(w * static_cast<double>(n));
  }
  for (size_t n = 0; n < y.size(); n += kBlock) {
    stage->Process(&y[n], kBlock);
  }
  double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
  for (int n = kWarm; n < kWarm + kFit; ++n) {
    const double sn = std::sin(w * n), cn = std::cos(w * n);
    ss += sn * sn;
    sc += sn * cn;
    cc += cn * cn;
    ys += y[n] * sn;
    yc += y[n] * cn;
  }
  const double det = ss * cc - sc * sc;
  const double a = (ys * cc - yc * sc) / det;
  const double b = (yc * ss - ys * sc) / det;
  return 20.0 * std::log10(std::hypot(a, b));
}

void PrintGrid(const char* name, const double* grid, int32_t size) {
  std::printf(" %s", name);
  for (int32_t i = 0; i < size; ++i) {
    std::printf(" %a", grid[i]);
  }
}

void RunCase(std::istringstream& in) {
  Setting s;
  in >> s.kind >> s.rate >> s.gain >> s.freq >> s.q;
  auto stage = MakeSetStage(s);
  if (!stage) {
    std::printf("error unknown kind\n");
    return;
  }
  double block[64] = {};
  stage->Process(block, 64); // starts the stage on its targets
  double num[7], den[6];
  stage->GetCoefficients(num, den);
  std::printf("num");
  for (double v : num) {
    std::printf(" %a", v);
  }
  std::printf(" den");
  for (double v : den) {
    std::printf(" %a", v);
  }
  std::printf(" mag");
  double hz;
  while (in >> hz) {
    std::printf(" %.12g", MeasureGainDb(s, hz));
  }
  std::printf("\n");
}

} // namespace

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream in(line);
    std::string command, kind;
    in >> command;
    if (command == "dump") {
      in >> kind;
      Block block;
      if (!BlockOf(kind, block)) {
        std::printf("error unknown kind\n");
        continue;
      }
      for (size_t i = 0; i < block.size; ++i) {
        std::printf(i ? " %a" : "%a", block.data[i]);
      }
      std::printf("\n");
    } else if (command == "grids") {
      in >> kind;
      auto stage = MakeStage(kind);
      if (!stage) {
        std::printf("error unknown kind\n");
        continue;
      }
      std::printf("order %d", stage->GetOrder());
      PrintGrid("freq", stage->GetFreqGrid(), stage->GetFreqGridSize());
      PrintGrid("gain", stage->GetGainGrid(), stage->GetGainGridSize());
      PrintGrid("q", stage->GetQGrid(), stage->GetQGridSize());
      std::printf("\n");
    } else if (command == "case") {
      RunCase(in);
    } else {
      std::printf("error unknown command\n");
    }
    std::fflush(stdout);
  }
  return 0;
}
