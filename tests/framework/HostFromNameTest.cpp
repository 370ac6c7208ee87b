#include "framework/HostFromName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LookUpHost, FirstKeyInOrderDecides) {
  const std::pair<const char*, int> cases[] = {
      {"CUBASE Pro 12", kHostCubase},
      {"REAPER64 6.80", kHostReaper},
      {"Nuendo", kHostNuendo},
      {"Cakewalk by BandLab", kHostSonar},
      {"Samplitude", kHostSamplitude},
      {"Fruity Wrapper", kHostFL},
      {"Ableton Live 11", kHostAbletonLive},
      {"Logic Pro and a live key", kHostAbletonLive}, // "live" is tested before "logic"
      {"Logic Pro X", kHostLogic},
      {"Oliver", kHostAbletonLive}, // "live" inside a longer word
      {"Melodyne", kHostMelodyne},
      {"vstmanlib scanner", kHostVSTScanner},
      {"AULab", kHostAULab},
      {"GarageBand", kHostGarageBand},
      {"Forte", kHostForte},
      {"Chainer", kHostChainer},
      {"Adobe Audition", kHostAudition},
      {"Orion", kHostOrion},
      {"SAWStudio", kHostSAWStudio},
      {"Digital Performer", kHostDigitalPerformer},
      {"AudioMulch", kHostAudioMulch},
      {"PreSonus Studio One", kHostStudioOne},
      {"VST3PluginTestHost", kHostVST3TestHost},
      {"ProTools", kHostProTools},
      {"Pro Tools", kHostUnknown},
      {"Ardour", kHostArdour},
      {"Standalone", kHostStandalone},
      {"VST3-AU Wrapper", kHostVST3AUWrapper},
      {"", kHostUnknown},
      {nullptr, kHostUnknown},
      {"Bitwig Studio", kHostUnknown},
  };
  for (auto [name, host] : cases)
    EXPECT_EQ(LookUpHost(name), host) << (name ? name : "(null)");
  // A very long name is looked at up to the lowering buffer and never overruns it.
  const std::string longName = std::string(1000, 'x') + "ardour";
  EXPECT_EQ(LookUpHost(longName.c_str()), kHostUnknown);
  EXPECT_EQ(LookUpHost((std::string(100, 'x') + "ardour").c_str()), kHostArdour);
}

TEST(GetHostNameStr, DisplayNames) {
  const std::pair<int, const char*> cases[] = {{1, "Reaper"},
                                               {2, "ProTools"},
                                               {3, "Cubase"},
                                               {4, "Nuendo"},
                                               {5, "Sonar"},
                                               {6, "Vegas"},
                                               {7, "FLStudio"},
                                               {8, "Samplitude"},
                                               {9, "Live"},
                                               {13, "VSTScanner"},
                                               {14, "AULab"},
                                               {15, "Forte"},
                                               {16, "Chainer"},
                                               {17, "Audition"},
                                               {18, "Orion"},
                                               {20, "SAWStudio"},
                                               {21, "Logic"},
                                               {22, "GarageBand"},
                                               {23, "DigitalPerformer"},
                                               {24, "Standalone"},
                                               {25, "AudioMulch"},
                                               {26, "StudioOne"},
                                               {27, "VST3PluginTestHost"},
                                               {28, "Ardour"},
                                               {0, "Unknown"},
                                               {10, "Unknown"},
                                               {11, "Unknown"},
                                               {12, "Unknown"},
                                               {19, "Unknown"},
                                               {29, "Unknown"},
                                               {-1, "Unknown"},
                                               {30, "Unknown"}};
  for (auto [host, name] : cases) {
    char out[kHostNameStrSize];
    GetHostNameStr(host, out);
    EXPECT_STREQ(out, name) << host;
  }
}

} // namespace
