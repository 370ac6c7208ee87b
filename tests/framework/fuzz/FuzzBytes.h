// Reading a fuzz input piece by piece: each read takes what is left, and a read past the end
// gives zeros, so that every input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

class FuzzBytes {
public:
  FuzzBytes(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

  size_t Left() const { return mSize - mPos; }
  uint8_t Byte() { return Left() ? mData[mPos++] : 0; }
  template <class T> T Value() {
    T value{};
    const size_t n = Left() < sizeof(T) ? Left() : sizeof(T);
    if (n > 0)
      std::memcpy(&value, mData + mPos, n);
    mPos += n;
    return value;
  }
  // At most n bytes, fewer when the input ends.
  std::vector<uint8_t> Bytes(size_t n) {
    n = n < Left() ? n : Left();
    std::vector<uint8_t> bytes(mData + mPos, mData + mPos + n);
    mPos += n;
    return bytes;
  }
  std::vector<uint8_t> Rest() { return Bytes(Left()); }

private:
  const uint8_t* mData;
  size_t mSize;
  size_t mPos = 0;
};
