// Shared scalar types, result codes and records of the AAX interfaces.
#pragma once

#include "acfbasetypes.h"

#include <cstddef>
#include <cstdint>

using AAX_Result = int32_t;
using AAX_CTypeID = uint32_t;     // four-character code, first character in the top byte
using AAX_CParamID = const char*; // zero-terminated parameter identifier
using AAX_CBoolean = uint8_t;
using AAX_CFieldIndex = int32_t; // index of a field in an instance's field block
using AAX_CPropertyID = int32_t;
using AAX_CPropertyValue = int32_t;
using AAX_CProcPtrID = int32_t;

// Result codes of every AAX interface call; 0 is success.
enum AAX_EError : int32_t {
  AAX_SUCCESS = 0,
  AAX_ERROR_UNKNOWN_PARAMETER = -20001, // identifier or index not registered
  AAX_ERROR_STRING_CONVERSION = -20002, // text that cannot be converted
  AAX_ERROR_HOOK_WITHOUT_ROLE = -20003, // a GUI hook this plug-in gives no meaning
  AAX_ERROR_NULL_OBJECT = -20004,       // missing host object
  AAX_ERROR_CHUNK_INDEX = -20006,       // chunk index other than 0
  AAX_ERROR_CHUNK_ID = -20007,          // foreign chunk ID
  AAX_ERROR_CHUNK_SIZE = -20008,        // chunk size wrong or zero
  AAX_ERROR_UNIMPLEMENTED = -20009,     // operation not offered
  AAX_ERROR_NO_HOST = -20011,           // GUI initialised without host
  AAX_ERROR_NEGATIVE_STEP_COUNT = -20033,
  AAX_ERROR_CHUNK_OVERFLOW = -333, // chunk data would overflow the record
};

// An interface the object does not answer.
constexpr AAX_Result AAX_ERROR_NO_INTERFACE = static_cast<AAX_Result>(0x80000004u);
// A 32-bit integer thrown inside the library when a host interface that a successful query
// should have produced is null; no host-called method lets it escape.
constexpr int32_t AAX_ERROR_MISSING_INTERFACE_THROWN = static_cast<int32_t>(0x80000005u);
// What a host-called method answers when it caught an exception.
constexpr AAX_Result AAX_ERROR_EXCEPTION_CAUGHT = static_cast<AAX_Result>(0x8000FFFFu);

constexpr AAX_CTypeID AAX_FourCC(char a, char b, char c, char d) {
  return (AAX_CTypeID(uint8_t(a)) << 24) | (AAX_CTypeID(uint8_t(b)) << 16) |
         (AAX_CTypeID(uint8_t(c)) << 8) | AAX_CTypeID(uint8_t(d));
}

// A point or size in the host's view coordinates (vertical first).
struct AAX_Point {
  float vert;
  float horz;
};

struct AAX_Rect {
  float top;
  float left;
  float width;
  float height;
};

// The host's chunk record: a 56-byte header, then fSize bytes of data. The host allocates the
// record for the data size the plug-in reported; AAX_ChunkData reaches the data.
struct AAX_SPlugInChunkHeader {
  int32_t fSize; // size of the data block in bytes
  int32_t fVersion;
  AAX_CTypeID fManID;
  AAX_CTypeID fProductID;
  AAX_CTypeID fPlugID;
  AAX_CTypeID fChunkID;
  char fName[32]; // zero-terminated
};
static_assert(sizeof(AAX_SPlugInChunkHeader) == 56);
using AAX_SPlugInChunk = AAX_SPlugInChunkHeader;
constexpr size_t AAX_kChunkDataOffset = sizeof(AAX_SPlugInChunkHeader);

inline uint8_t* AAX_ChunkData(AAX_SPlugInChunk* chunk) {
  return reinterpret_cast<uint8_t*>(chunk) + AAX_kChunkDataOffset;
}
inline const uint8_t* AAX_ChunkData(const AAX_SPlugInChunk* chunk) {
  return reinterpret_cast<const uint8_t*>(chunk) + AAX_kChunkDataOffset;
}

class IACFUnknown;
// Create procedures the effect description registers (procedure ID 0 makes the
// effect-parameters object, 1 the GUI object).
using AAX_CCreateProc = IACFUnknown* (*)();
// The native process procedure: called with the field blocks of one or more instances.
using AAX_CProcessProc = void (*)(void* const instancesBegin[], const void* instancesEnd);
