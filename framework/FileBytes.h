#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Byte-level helpers for the preset file formats. Files are built as byte vectors and read
// from memory through a cursor that checks every read against the bytes there are, so that
// no size found inside a file is trusted before it has been checked against the file.

using FileBytes = std::vector<uint8_t>;

inline void PutBytes(FileBytes& out, const void* src, size_t n) {
  if (n == 0)
    return;
  const size_t at = out.size();
  out.resize(at + n);
  std::memcpy(out.data() + at, src, n);
}

inline void PutZeros(FileBytes& out, size_t n) {
  out.insert(out.end(), n, uint8_t(0));
}

// A four-character code as its four characters, first character first.
inline void PutFourCC(FileBytes& out, const char* code) {
  PutBytes(out, code, 4);
}

inline void PutBE32(FileBytes& out, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)};
  PutBytes(out, b, 4);
}

inline void PutLE32(FileBytes& out, uint32_t v) {
  const uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  PutBytes(out, b, 4);
}

inline void PutLE64(FileBytes& out, uint64_t v) {
  PutLE32(out, uint32_t(v));
  PutLE32(out, uint32_t(v >> 32));
}

inline void PutBE32At(FileBytes& out, size_t offset, uint32_t v) {
  out[offset] = uint8_t(v >> 24);
  out[offset + 1] = uint8_t(v >> 16);
  out[offset + 2] = uint8_t(v >> 8);
  out[offset + 3] = uint8_t(v);
}

// Copies text into a zero-filled field of fieldSize bytes, at most fieldSize - 1 of them so
// that the field always ends with a terminator. A cut never splits a UTF-8 character.
void PutNameField(FileBytes& out, const char* text, size_t fieldSize);
// The text of a zero-filled name field: the bytes up to the first zero, at most fieldSize.
std::string GetNameField(const uint8_t* field, size_t fieldSize);
// The length of at most maxBytes bytes of text that ends on a UTF-8 character boundary.
size_t Utf8PrefixLength(const char* text, size_t maxBytes);

// Reads a file image front to back. A read that does not fit leaves the cursor failed, and
// every later read fails too; callers check ok() (or each read's result) once.
class ByteCursor {
public:
  ByteCursor(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  bool ok() const { return mOk; }
  size_t pos() const { return mPos; }
  size_t size() const { return mSize; }
  size_t left() const { return mOk ? mSize - mPos : 0; }
  const uint8_t* here() const { return mData + mPos; }

  // Moves to an absolute offset; fails beyond the end.
  bool Seek(uint64_t offset);
  bool Skip(uint64_t n);
  bool FourCC(const char* expected);
  bool Bytes(void* out, size_t n);
  bool BE32(uint32_t* v);
  bool LE32(uint32_t* v);
  bool LE64(uint64_t* v);

private:
  bool Fail() { return mOk = false; }

  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
  bool mOk = true;
};

// The inner blocks of .vstpreset, .aupreset and .tfx files are stored as an int32 length
// (little-endian) and that many bytes, as the VST 3 state streams store them.
void PutLengthPrefixed(FileBytes& out, const uint8_t* block, size_t n);
// Reads a length-prefixed block that fills exactly size bytes: false when the length does
// not match what is there.
bool GetLengthPrefixed(const uint8_t* data, size_t size, FileBytes& block);
