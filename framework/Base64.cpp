#include "framework/Base64.h"

#include "framework/Base64Alphabet.h"

int DecodeBase64(const char* text, uint8_t* out, int outSize) {
  if (!text || !out || outSize <= 0)
    return 0;
  int written = 0;
  uint32_t bits = 0;
  int nBits = 0;
  for (const char* p = text; written < outSize; ++p) {
    const int sextet = Base64SextetOf(*p);
    if (sextet < 0)
      break;
    bits = (bits << 6) | uint32_t(sextet);
    nBits += 6;
    if (nBits >= 8) {
      nBits -= 8;
      out[written++] = uint8_t(bits >> nBits);
      bits &= (1u << nBits) - 1;
    }
  }
  return written;
}
