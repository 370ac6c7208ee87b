#pragma once

#include <cstdint>

// The host application, found from its product name. -1 until identified, 0 when the
// name is not recognised. 10, 11 and 19 are never produced.
enum EHost : int32_t {
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostProTools = 2,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostVegas = 6,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostAbletonLive = 9,
  kHostMelodyne = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostGarageBand = 22,
  kHostDigitalPerformer = 23,
  kHostStandalone = 24,
  kHostAudioMulch = 25,
  kHostStudioOne = 26,
  kHostVST3TestHost = 27,
  kHostArdour = 28,
  kHostVST3AUWrapper = 29
};

constexpr int kHostNameStrSize = 19; // the longest display name and its terminator

// Case-insensitive substring search over the known product names; the first key found
// in a fixed order decides. Names are looked at up to their first 255 characters.
int LookUpHost(const char* name);
// Display name of a host number ("Unknown" for the numbers without one); out holds
// kHostNameStrSize bytes.
void GetHostNameStr(int host, char* out);
