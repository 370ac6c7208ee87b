// Drives one CComp through a script for the reference check (check_engine_reference.py).
//
//   comp_engine_runner SCRIPT INPUT OUTPUT LOG
//
// INPUT holds interleaved float64 frames (L, R, and a sidechain sample when the script says
// "sidechain 1"); OUTPUT receives the processed L, R frames; LOG gets one line per "process"
// (the meters after the block), "coef" and "curve" command, numbers in hexadecimal floating
// point so that nothing is lost in print.
//
// Script commands, one per line:
//   rate FS | threshold|ratio|attack|release|makeup|inputgain|blend VALUE
//   autorelease|iometering|bypass|spare 0|1 | setall AUTO FORCE T R A REL M
//   sidechain 0|1 | inplace 0|1 | process N | coef | curve LEVEL
#include "Projects/compressor/CComp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

int Fail(const std::string& what) {
  std::cerr << "comp_engine_runner: " << what << "\n";
  return 1;
}

void LogNumbers(std::FILE* log, const char* tag, const double* values, int n) {
  std::fprintf(log, "%s", tag);
  for (int i = 0; i < n; ++i)
    std::fprintf(log, " %a", values[i]);
  std::fprintf(log, "\n");
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 5)
    return Fail("usage: comp_engine_runner SCRIPT INPUT OUTPUT LOG");
  std::ifstream script(argv[1]);
  std::FILE* input = std::fopen(argv[2], "rb");
  std::FILE* output = std::fopen(argv[3], "wb");
  std::FILE* log = std::fopen(argv[4], "w");
  if (!script || !input || !output || !log)
    return Fail("cannot open the files");

  CComp comp;
  bool hasSidechain = false;
  bool inPlace = true;
  std::vector<double> frames, inL, inR, side, outL, outR, interleaved;

  std::string line;
  int lineNo = 0;
  while (std::getline(script, line)) {
    ++lineNo;
    std::istringstream words(line);
    std::string cmd;
    if (!(words >> cmd))
      continue;
    std::vector<double> args;
    for (std::string w; words >> w;)
      args.push_back(std::strtod(w.c_str(), nullptr));
    auto need = [&](size_t n) {
      if (args.size() != n) {
        Fail("line " + std::to_string(lineNo) + ": wrong argument count");
        std::exit(1);
      }
    };
    if (cmd == "rate") {
      need(1);
      comp.SetSampleRate(args[0]);
    } else if (cmd == "threshold") {
      need(1);
      comp.SetThreshold(args[0]);
    } else if (cmd == "ratio") {
      need(1);
      comp.SetRatio(args[0]);
    } else if (cmd == "attack") {
      need(1);
      comp.SetAttack(args[0]);
    } else if (cmd == "release") {
      need(1);
      comp.SetRelease(args[0]);
    } else if (cmd == "makeup") {
      need(1);
      comp.SetMakeUp(args[0]);
    } else if (cmd == "inputgain") {
      need(1);
      comp.SetInputGain(args[0]);
    } else if (cmd == "blend") {
      need(1);
      comp.SetBlend(args[0]);
    } else if (cmd == "autorelease") {
      need(1);
      comp.SetAutoRelease(args[0] != 0.0);
    } else if (cmd == "iometering") {
      need(1);
      comp.SetIOMetering(args[0] != 0.0);
    } else if (cmd == "bypass") {
      need(1);
      comp.SetBypass(args[0] != 0.0);
    } else if (cmd == "spare") {
      need(1);
      comp.SetSpareFlag(args[0] != 0.0);
    } else if (cmd == "setall") {
      need(7);
      comp.SetAll(args[0] != 0.0, args[1] != 0.0, args[2], args[3], args[4], args[5], args[6]);
    } else if (cmd == "sidechain") {
      need(1);
      hasSidechain = args[0] != 0.0;
    } else if (cmd == "inplace") {
      need(1);
      inPlace = args[0] != 0.0;
    } else if (cmd == "coef") {
      need(0);
      double block[CComp::kNumCoefficients];
      comp.GetCoefficients(block);
      LogNumbers(log, "coef", block, CComp::kNumCoefficients);
    } else if (cmd == "curve") {
      need(1);
      const double db = comp.GetStaticCurveDb(args[0]);
      LogNumbers(log, "curve", &db, 1);
    } else if (cmd == "process") {
      need(1);
      const size_t n = static_cast<size_t>(args[0]);
      const size_t width = hasSidechain ? 3 : 2;
      frames.resize(n * width);
      if (n > 0 && std::fread(frames.data(), sizeof(double) * width, n, input) != n)
        return Fail("input ends early");
      inL.resize(n);
      inR.resize(n);
      side.resize(n);
      outL.assign(n, -12345.0);
      outR.assign(n, -12345.0);
      for (size_t i = 0; i < n; ++i) {
        inL[i] = frames[i * width];
        inR[i] = frames[i * width + 1];
        side[i] = hasSidechain ? frames[i * width + 2] : 0.0;
      }
      const double* sc = hasSidechain ? side.data() : nullptr;
      if (inPlace) {
        double* channels[2] = {inL.data(), inR.data()};
        comp.Process(channels, sc, n);
        outL.swap(inL);
        outR.swap(inR);
      } else {
        const double* ins[2] = {inL.data(), inR.data()};
        double* outs[2] = {outL.data(), outR.data()};
        comp.Process(ins, outs, sc, n);
      }
      interleaved.resize(2 * n);
      for (size_t i = 0; i < n; ++i) {
        interleaved[2 * i] = outL[i];
        interleaved[2 * i + 1] = outR[i];
      }
      if (n > 0 && std::fwrite(interleaved.data(), sizeof(double) * 2, n, output) != n)
        return Fail("cannot write the output");
      const double meters[3] = {comp.GetLevelMeter(), comp.GetGainReductionMeter(),
                                comp.HasProcessed() ? 1.0 : 0.0};
      LogNumbers(log, "meters", meters, 3);
    } else {
      return Fail("line " + std::to_string(lineNo) + ": unknown command " + cmd);
    }
  }
  std::fclose(input);
  std::fclose(output);
  std::fclose(log);
  return 0;
}
