#pragma once

// The standard Base64 alphabet, shared by the factory-blob decoder (Base64.cpp) and the
// preset-text codec (Base64Text.cpp); each keeps its own rules for what ends or breaks a text.

inline constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// The six bits that c stands for, or -1 for a character outside the alphabet ("=" included).
inline int Base64SextetOf(char c) {
  if (c >= 'A' && c <= 'Z')
    return c - 'A';
  if (c >= 'a' && c <= 'z')
    return c - 'a' + 26;
  if (c >= '0' && c <= '9')
    return c - '0' + 52;
  if (c == '+')
    return 62;
  if (c == '/')
    return 63;
  return -1;
}
