#pragma once

#include <cstdint>

// Decodes standard Base64 (A-Z, a-z, 0-9, "+", "/") into out, which holds outSize bytes.
// Decoding stops at the first character outside the alphabet (so the "=" fill ends it);
// bytes beyond outSize are dropped. Returns the number of bytes written.
int DecodeBase64(const char* text, uint8_t* out, int outSize);
