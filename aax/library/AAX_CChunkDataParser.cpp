#include "aax/library/AAX_CChunkDataParser.h"

#include "aax/library/AAX_VHostServices.h"

#include <cstring>
#include <string>

namespace {
constexpr uint8_t kMarker[4] = {1, 1, 1, 1};
constexpr int32_t kMarkerSize = 4;
constexpr int32_t kMaxTextLength = 255;
constexpr int32_t kTracePriorityError = 0x8000000;

constexpr int64_t RoundUpTo4(int64_t n) {
  return (n + 3) & ~int64_t(3);
}

char TagOf(int32_t type) {
  switch (type) {
  case AAX_CChunkDataParser::kFloatType:
    return 'f';
  case AAX_CChunkDataParser::kLongType:
    return 'l';
  case AAX_CChunkDataParser::kDoubleType:
    return 'd';
  case AAX_CChunkDataParser::kShortType:
    return 's';
  default:
    return 'r';
  }
}

// Bytes the value takes in the block, padding included.
int64_t ValueSize(const AAX_CChunkDataParser::DataValue& element) {
  switch (element.mDataType) {
  case AAX_CChunkDataParser::kDoubleType:
    return 8;
  case AAX_CChunkDataParser::kStringType:
    return RoundUpTo4(int64_t(element.mStringValue.Length()) + 1);
  default:
    return 4;
  }
}

// Tag, name and terminator, padded to a multiple of 4.
int64_t NameSize(const AAX_CChunkDataParser::DataValue& element) {
  return RoundUpTo4(int64_t(element.mDataName.Length()) + 3);
}

void WriteBigEndian(uint8_t* at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    at[i] = uint8_t(value >> (8 * (bytes - 1 - i)));
}

uint64_t ReadBigEndian(const uint8_t* at, int bytes) {
  uint64_t value = 0;
  for (int i = 0; i < bytes; ++i)
    value = (value << 8) | at[i];
  return value;
}

template <class To, class From> To BitCast(From from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
}

void WriteValue(uint8_t* at, const AAX_CChunkDataParser::DataValue& element) {
  switch (element.mDataType) {
  case AAX_CChunkDataParser::kDoubleType:
    WriteBigEndian(at, BitCast<uint64_t>(element.mNumber.mDouble), 8);
    break;
  case AAX_CChunkDataParser::kFloatType:
    WriteBigEndian(at, BitCast<uint32_t>(element.mNumber.mFloat), 4);
    break;
  case AAX_CChunkDataParser::kShortType:
    WriteBigEndian(at, uint16_t(element.mNumber.mInt32), 2);
    break;
  case AAX_CChunkDataParser::kStringType:
    std::memcpy(at, element.mStringValue.Get(), element.mStringValue.Length());
    break;
  default:
    WriteBigEndian(at, uint32_t(element.mNumber.mInt32), 4);
    break;
  }
}
} // namespace

void AAX_CChunkDataParser::Clear() {
  mLastFoundIndex = -1;
  mChunkVersion = -1;
  mDataValues.clear();
}

void AAX_CChunkDataParser::AddDouble(const char* name, double value) {
  DataValue element;
  element.mDataType = kDoubleType;
  element.mDataName = name;
  element.mNumber.mDouble = value;
  mDataValues.push_back(std::move(element));
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value) {
  DataValue element;
  element.mDataType = kLongType;
  element.mDataName = name;
  element.mNumber.mInt32 = value;
  mDataValues.push_back(std::move(element));
}

void AAX_CChunkDataParser::AddString(const char* name, const AAX_IString& text) {
  DataValue element;
  element.mDataType = kStringType;
  element.mDataName = name;
  element.mStringValue = text.Get();
  mDataValues.push_back(std::move(element));
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name) {
  const int32_t count = int32_t(mDataValues.size());
  for (int32_t step = 1; step <= count; ++step) {
    // From the element after the last found one round to the last found one itself.
    const int32_t index = int32_t((int64_t(mLastFoundIndex) + step + count) % count);
    if (mDataValues[size_t(index)].mDataName == name) {
      mLastFoundIndex = index;
      return index;
    }
  }
  return -1;
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value) {
  const int32_t index = FindName(AAX_CString(name));
  if (index < 0 || mDataValues[size_t(index)].mDataType != kDoubleType)
    return false;
  if (value)
    *value = mDataValues[size_t(index)].mNumber.mDouble;
  return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value) {
  const int32_t index = FindName(AAX_CString(name));
  if (index < 0 || mDataValues[size_t(index)].mDataType != kLongType)
    return false;
  if (value)
    *value = mDataValues[size_t(index)].mNumber.mInt32;
  return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, AAX_IString* value) {
  const int32_t index = FindName(AAX_CString(name));
  if (index < 0 || mDataValues[size_t(index)].mDataType != kStringType)
    return false;
  if (value)
    value->Set(mDataValues[size_t(index)].mStringValue.Get());
  return true;
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const {
  int64_t size = kMarkerSize;
  for (const DataValue& element : mDataValues)
    size += NameSize(element) + ValueSize(element);
  // The record's size field is an int32: a list that does not fit answers the overflow code.
  return size > INT32_MAX ? AAX_ERROR_CHUNK_OVERFLOW : int32_t(size);
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk* chunk) const {
  if (!chunk)
    return AAX_ERROR_NULL_OBJECT;
  const int32_t size = GetChunkDataSize();
  chunk->fSize = size;
  if (size < 1)
    return size;
  uint8_t* data = AAX_ChunkData(chunk);
  std::memset(data, 0, size_t(size));
  std::memcpy(data, kMarker, sizeof kMarker);
  int64_t position = kMarkerSize;
  for (const DataValue& element : mDataValues) {
    if (position + NameSize(element) + ValueSize(element) > size) {
      AAX_Trace(kTracePriorityError, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                "aborting: chunk data will overflow buffer");
      return AAX_ERROR_CHUNK_OVERFLOW;
    }
    data[position] = uint8_t(TagOf(element.mDataType));
    data[position + 1] = '_';
    std::memcpy(data + position + 2, element.mDataName.Get(), element.mDataName.Length());
    position += NameSize(element);
    WriteValue(data + position, element);
    position += ValueSize(element);
  }
  return AAX_SUCCESS;
}

AAX_Result AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk* chunk) {
  Clear();
  if (!chunk)
    return AAX_ERROR_NULL_OBJECT;
  mChunkVersion = chunk->fVersion;
  const int64_t size = chunk->fSize;
  const uint8_t* data = AAX_ChunkData(chunk);
  if (size < kMarkerSize + 1 || std::memcmp(data, kMarker, sizeof kMarker) != 0)
    return AAX_SUCCESS;

  int64_t position = kMarkerSize;
  while (position < size) {
    const void* end = std::memchr(data + position, 0, size_t(size - position));
    if (!end)
      break; // the text runs to the end of the block
    const int64_t textLength = static_cast<const uint8_t*>(end) - (data + position);
    const char* text = reinterpret_cast<const char*>(data + position);
    const char tag = textLength > 0 ? text[0] : '\0';
    // The name follows the two tag characters; a shorter text has none.
    const int64_t keptLength = textLength < kMaxTextLength ? textLength : kMaxTextLength;
    const std::string name = keptLength > 2 ? std::string(text + 2, size_t(keptLength - 2)) : "";
    position = RoundUpTo4(position + textLength + 1);

    DataValue element;
    element.mDataName = name;
    int64_t valueSize = 0;
    switch (tag) {
    case 'r':
      element.mDataType = kStringType;
      break;
    case 's':
      element.mDataType = kShortType;
      valueSize = 4;
      break;
    case 'd':
      element.mDataType = kDoubleType;
      valueSize = 8;
      break;
    case 'f':
      element.mDataType = kFloatType;
      valueSize = 4;
      break;
    case 'l':
      element.mDataType = kLongType;
      valueSize = 4;
      break;
    default:
      continue; // unknown tag: the element is skipped
    }

    if (element.mDataType == kStringType) {
      const void* stringEnd =
          position < size ? std::memchr(data + position, 0, size_t(size - position)) : nullptr;
      if (!stringEnd) {
        Clear();
        mChunkVersion = chunk->fVersion;
        return AAX_ERROR_CHUNK_OVERFLOW;
      }
      const int64_t length = static_cast<const uint8_t*>(stringEnd) - (data + position);
      element.mStringValue =
          std::string(reinterpret_cast<const char*>(data + position), size_t(length));
      position = RoundUpTo4(position + length + 1);
    } else {
      if (position + valueSize > size) {
        Clear();
        mChunkVersion = chunk->fVersion;
        return AAX_ERROR_CHUNK_OVERFLOW;
      }
      const uint8_t* value = data + position;
      if (element.mDataType == kDoubleType)
        element.mNumber.mDouble = BitCast<double>(ReadBigEndian(value, 8));
      else if (element.mDataType == kFloatType)
        element.mNumber.mFloat = BitCast<float>(uint32_t(ReadBigEndian(value, 4)));
      else if (element.mDataType == kShortType)
        element.mNumber.mInt32 = int16_t(uint16_t(ReadBigEndian(value, 2)));
      else
        element.mNumber.mInt32 = int32_t(uint32_t(ReadBigEndian(value, 4)));
      position += valueSize;
    }
    mDataValues.push_back(std::move(element));
  }
  return AAX_SUCCESS;
}
