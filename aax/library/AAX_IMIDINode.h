// A MIDI node of an instance's field block: the host fills an input node's buffer with the
// block's packets before the render call and takes the packets an output node is given.
#pragma once

#include "AAX.h"

#include <cstdint>

// One MIDI message of at most four bytes, at a sample offset within the block.
struct AAX_CMidiPacket {
  uint32_t mTimestamp; // sample offset in the block
  uint32_t mLength;    // bytes of mData in use
  uint8_t mData[4];    // status byte first
  AAX_CBoolean mIsImmediate;
};

// The packets an input node carries for one block.
struct AAX_CMidiStream {
  uint32_t mBufferSize; // number of packets
  AAX_CMidiPacket* mBuffer;
};

class AAX_IMIDINode {
public:
  virtual ~AAX_IMIDINode() = default;
  // The block's incoming packets (input nodes).
  virtual AAX_CMidiStream* GetNodeBuffer() = 0;
  // Hands one outgoing packet to the host (output nodes); the host copies it.
  virtual AAX_Result PostMIDIPacket(AAX_CMidiPacket* packet) = 0;
};
