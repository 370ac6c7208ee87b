#include "framework/HostFromName.h"

#include <cstdio>
#include <cstring>

#include "framework/StringUtils.h"

namespace {

struct HostKey {
  const char* key;
  int host;
};

// The order matters: a name holding several keys is the host of the first one listed.
const HostKey kHostKeys[] = {
    {"cubase", kHostCubase},
    {"reaper", kHostReaper},
    {"nuendo", kHostNuendo},
    {"cakewalk", kHostSonar},
    {"samplitude", kHostSamplitude},
    {"fruity", kHostFL},
    {"live", kHostAbletonLive},
    {"melodyne", kHostMelodyne},
    {"vstmanlib", kHostVSTScanner},
    {"aulab", kHostAULab},
    {"garageband", kHostGarageBand},
    {"forte", kHostForte},
    {"chainer", kHostChainer},
    {"audition", kHostAudition},
    {"orion", kHostOrion},
    {"sawstudio", kHostSAWStudio},
    {"logic", kHostLogic},
    {"digital", kHostDigitalPerformer},
    {"audiomulch", kHostAudioMulch},
    {"presonus", kHostStudioOne},
    {"vst3plugintesthost", kHostVST3TestHost},
    {"protools", kHostProTools},
    {"ardour", kHostArdour},
    {"standalone", kHostStandalone},
    {"vst3-au wrapper", kHostVST3AUWrapper},
};

const char* DisplayName(int host) {
  switch (host) {
  case kHostReaper:
    return "Reaper";
  case kHostProTools:
    return "ProTools";
  case kHostCubase:
    return "Cubase";
  case kHostNuendo:
    return "Nuendo";
  case kHostSonar:
    return "Sonar";
  case kHostVegas:
    return "Vegas";
  case kHostFL:
    return "FLStudio";
  case kHostSamplitude:
    return "Samplitude";
  case kHostAbletonLive:
    return "Live";
  case kHostVSTScanner:
    return "VSTScanner";
  case kHostAULab:
    return "AULab";
  case kHostForte:
    return "Forte";
  case kHostChainer:
    return "Chainer";
  case kHostAudition:
    return "Audition";
  case kHostOrion:
    return "Orion";
  case kHostSAWStudio:
    return "SAWStudio";
  case kHostLogic:
    return "Logic";
  case kHostGarageBand:
    return "GarageBand";
  case kHostDigitalPerformer:
    return "DigitalPerformer";
  case kHostStandalone:
    return "Standalone";
  case kHostAudioMulch:
    return "AudioMulch";
  case kHostStudioOne:
    return "StudioOne";
  case kHostVST3TestHost:
    return "VST3PluginTestHost";
  case kHostArdour:
    return "Ardour";
  default:
    return "Unknown";
  }
}

} // namespace

int LookUpHost(const char* name) {
  char lower[256];
  ToLower(lower, name ? name : "", sizeof lower);
  for (const HostKey& k : kHostKeys) {
    if (std::strstr(lower, k.key))
      return k.host;
  }
  return kHostUnknown;
}

void GetHostNameStr(int host, char* out) {
  std::snprintf(out, kHostNameStrSize, "%s", DisplayName(host));
}
