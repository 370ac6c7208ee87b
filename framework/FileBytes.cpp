#include "framework/FileBytes.h"

#include <algorithm>

size_t Utf8PrefixLength(const char* text, size_t maxBytes) {
  size_t n = text ? strnlen(text, maxBytes + 1) : 0;
  if (n <= maxBytes)
    return n;
  n = maxBytes;
  // Step back over continuation bytes (10xxxxxx) to the start of the cut character.
  while (n > 0 && (uint8_t(text[n]) & 0xC0) == 0x80)
    --n;
  return n;
}

void PutNameField(FileBytes& out, const char* text, size_t fieldSize) {
  const size_t n = fieldSize ? Utf8PrefixLength(text, fieldSize - 1) : 0;
  PutBytes(out, text, n);
  PutZeros(out, fieldSize - n);
}

std::string GetNameField(const uint8_t* field, size_t fieldSize) {
  const uint8_t* end = std::find(field, field + fieldSize, uint8_t(0));
  return std::string(reinterpret_cast<const char*>(field), size_t(end - field));
}

bool ByteCursor::Seek(uint64_t offset) {
  if (!mOk || offset > mSize)
    return Fail();
  mPos = size_t(offset);
  return true;
}

bool ByteCursor::Skip(uint64_t n) {
  if (!mOk || n > mSize - mPos)
    return Fail();
  mPos += size_t(n);
  return true;
}

bool ByteCursor::Bytes(void* out, size_t n) {
  if (!mOk || n > mSize - mPos)
    return Fail();
  if (n)
    std::memcpy(out, mData + mPos, n);
  mPos += n;
  return true;
}

bool ByteCursor::FourCC(const char* expected) {
  char code[4];
  if (!Bytes(code, 4))
    return false;
  return std::memcmp(code, expected, 4) == 0 || Fail();
}

bool ByteCursor::BE32(uint32_t* v) {
  uint8_t b[4];
  if (!Bytes(b, 4))
    return false;
  *v = uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3];
  return true;
}

bool ByteCursor::LE32(uint32_t* v) {
  uint8_t b[4];
  if (!Bytes(b, 4))
    return false;
  *v = uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
  return true;
}

bool ByteCursor::LE64(uint64_t* v) {
  uint32_t lo = 0, hi = 0;
  if (!LE32(&lo) || !LE32(&hi))
    return false;
  *v = uint64_t(hi) << 32 | lo;
  return true;
}

void PutLengthPrefixed(FileBytes& out, const uint8_t* block, size_t n) {
  PutLE32(out, uint32_t(n));
  PutBytes(out, block, n);
}

bool GetLengthPrefixed(const uint8_t* data, size_t size, FileBytes& block) {
  ByteCursor in(data, size);
  uint32_t length = 0;
  if (!in.LE32(&length) || length > INT32_MAX || length != in.left())
    return false;
  block.assign(in.here(), in.here() + length);
  return true;
}
