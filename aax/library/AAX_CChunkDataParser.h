// Named, typed values in the data block of an AAX state chunk, and back.
//
// Data block (all multi-byte values big-endian):
//   0   marker: the four bytes 01 01 01 01
//   4   the elements, each starting at a multiple of 4:
//         tag ("f_" float, "l_" int32, "d_" double, "s_" int16, "r_" string) directly followed
//         by the name, one zero-terminated text; zero padding to a multiple of 4; the value:
//         float and int32 4 bytes, int16 2 bytes and 2 zero bytes, double 8 bytes, string its
//         bytes and a terminator, padded to a multiple of 4.
#pragma once

#include "AAX.h"
#include "aax/library/AAX_CString.h"

#include <vector>

class AAX_CChunkDataParser {
public:
  enum EType : int32_t {
    kFloatType = 1,
    kLongType = 2,
    kDoubleType = 3,
    kShortType = 4,
    kStringType = 5,
  };

  struct DataValue {
    int32_t mDataType = 0;
    AAX_CString mDataName;
    // Double for doubles; int32 (also for int16) or float in the first bytes otherwise.
    union {
      double mDouble;
      int32_t mInt32;
      float mFloat;
      int64_t mRaw;
    } mNumber{};
    AAX_CString mStringValue;
  };

  AAX_CChunkDataParser() = default;
  virtual ~AAX_CChunkDataParser() = default;

  void Clear();
  void AddDouble(const char* name, double value);
  void AddInt32(const char* name, int32_t value);
  void AddString(const char* name, const AAX_IString& text);

  // The element of that exact name, searching on from the one found last and wrapping
  // around; -1 when absent.
  int32_t FindName(const AAX_CString& name);
  bool FindDouble(const char* name, double* value);
  bool FindInt32(const char* name, int32_t* value);
  bool FindString(const char* name, AAX_IString* value);

  int32_t GetChunkDataSize() const;
  // Writes the data block into a record the host sized by GetChunkDataSize: 0, the size when
  // it is below 1, or -333 when the elements would overflow it.
  AAX_Result GetChunkData(AAX_SPlugInChunk* chunk) const;
  // Replaces the list with the record's elements. A record shorter than 5 bytes or without the
  // marker gives an empty list, and a text that runs to the end of the block ends the reading;
  // a value that would run past the end of the block refuses the record: the list is left
  // empty and the result is -333.
  AAX_Result LoadChunk(const AAX_SPlugInChunk* chunk);

  int32_t ChunkVersion() const { return mChunkVersion; }
  const std::vector<DataValue>& Values() const { return mDataValues; }

private:
  int32_t mLastFoundIndex = -1;
  [[maybe_unused]] int32_t mReserved = 0;
  int32_t mChunkVersion = -1;
  std::vector<DataValue> mDataValues;
};
