// The effect description the compressor bundle hands an AAX host at registration: names,
// category, one processing component per channel configuration, and the create and process
// procedures.
#pragma once

#include "aax/library/AAX_VCollection.h"

#include <string>
#include <vector>

// One processing component: what identifies it to the host and which nodes its instance
// block carries.
struct AAXWrapper_ComponentRecord {
  int32_t inputChannels = 0;
  int32_t outputChannels = 0;
  uint32_t inputStemFormat = 0;
  uint32_t outputStemFormat = 0;
  bool hasGlobalMIDI = false;
  const char* globalMIDIName = "GlobalMIDI";
  uint32_t globalMIDIMask = 65535;
  bool hasMIDIInput = false;
  const char* midiInputName = "Orvane Compressor Midi";
  uint32_t midiInputMask = 1;
  bool hasMIDIOutput = false;
  const char* midiOutputName = "Orvane Compressor MidiOut";
  uint32_t midiOutputMask = 1;
  std::vector<std::string> auxMIDIInputNames; // none here
  bool hasTransport = true;
  std::vector<AAX_CTypeID> meterIDs;    // none here
  std::vector<uint32_t> auxOutputStems; // none here
  uint32_t sideChainInputStem = 0xFF9C0000u;
  uint32_t sideChainOutputStem = 0xFF9C0000u;
  AAX_CTypeID manufacturerID = 0;
  AAX_CTypeID productID = 0;
  AAX_CTypeID typeID = 0;
  AAX_CTypeID secondTypeID = 0;
  int32_t property60 = 1;
  int32_t property56 = 0;
  bool property151 = false;
  bool property304 = true; // set: property 304 is not added
};

constexpr uint32_t AAXWrapper_kStemNone = 0xFF9C0000u;

// The stem format of a channel count; 9 or more, or a negative count, give "none".
uint32_t AAXWrapper_StemFormatForChannels(int32_t channels);

// Fills the collection with the compressor's one effect; the OR of every host call's result.
AAX_Result AAXWrapper_DescribeEffects(AAX_VCollection& collection);
// Describes one component on a new component descriptor of the effect.
AAX_Result AAXWrapper_DescribeComponent(AAX_VEffectDescriptor& effect,
                                        const AAXWrapper_ComponentRecord& record);
