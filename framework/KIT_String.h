#pragma once

#include "framework/KIT_HeapBuf.h"

#include <cstdarg>

// A zero-terminated byte string in a KIT_HeapBuf (granularity 128). An empty string may
// have no buffer at all and then reads as "". Every edit goes through Splice.
class KIT_String {
public:
  explicit KIT_String(const char* text = nullptr, int granularity = 128);

  const char* Get() const;
  int GetLength() const;

  // The one editing primitive: srcLen bytes of src (none for a null src) are written at
  // offset, the keepTail bytes that stood at offset follow them, and the string ends there.
  // All three numbers 0 empties the string. Returns false, with nothing changed, for
  // arguments that do not describe an edit of the current text or when the buffer cannot
  // grow.
  bool Splice(int offset, const char* src, int srcLen, int keepTail);

  // Sets or appends at most maxLen bytes of src (all of it when maxLen is below 1); a null
  // src empties Set and leaves Append a no-op.
  bool Set(const char* src, int maxLen = 0);
  bool Append(const char* src, int maxLen = 0);
  // A buffer of len + 1 bytes with the terminator at len; new bytes are zero.
  bool SetLen(int len, bool resizeDown = false);
  void DeleteSub(int pos, int len);

  // Formats at most maxLen characters (after the current text when append is set), then
  // sizes the buffer to exactly the text and its terminator. Arguments may point into this
  // string. False, with the string unchanged, when formatting or growing fails.
  bool SetAppendFormattedArgs(bool append, int maxLen, const char* format, va_list args);
  bool SetFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));
  bool AppendFormatted(int maxLen, const char* format, ...) __attribute__((format(printf, 3, 4)));

private:
  char* Chars() { return static_cast<char*>(mBuf.Get()); }
  KIT_HeapBuf mBuf;
};
