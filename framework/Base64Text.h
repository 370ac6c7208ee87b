#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Base64 for text formats that carry binary state (property-list data, preset source
// lines): the standard alphabet with "=" fill characters, of any length.

std::string EncodeBase64(const uint8_t* data, size_t n);

// Decodes Base64 text in which whitespace may appear anywhere (property lists break data
// into indented lines). False, with out unspecified, for any other character outside the
// alphabet, a length that is not whole groups of four, or fill characters anywhere but at
// the end.
bool DecodeBase64Text(std::string_view text, std::vector<uint8_t>& out);
