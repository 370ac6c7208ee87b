#include "framework/KIT_String.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

KIT_String::KIT_String(const char* text, int granularity) : mBuf(granularity) {
  if (text)
    Set(text);
}

const char* KIT_String::Get() const {
  return mBuf.GetSize() ? static_cast<const char*>(mBuf.Get()) : "";
}

int KIT_String::GetLength() const {
  return mBuf.GetSize() ? int(std::strlen(Get())) : 0;
}

bool KIT_String::Splice(int offset, const char* src, int srcLen, int keepTail) {
  if (offset == 0 && srcLen == 0 && keepTail == 0) {
    mBuf.Resize(1, true);
    if (mBuf.GetSize() != 1)
      return false;
    Chars()[0] = 0;
    return true;
  }
  if (srcLen < 1 || offset < 0 || keepTail < 0)
    return false;
  const int64_t textBytes = std::max(mBuf.GetSize() - 1, 0);
  if (int64_t(offset) + keepTail > textBytes)
    return false;
  const int64_t total = int64_t(offset) + srcLen + keepTail + 1;
  if (total > INT_MAX)
    return false;

  // A source inside our own buffer may move when the buffer grows and may be overwritten
  // by the tail move, so it is copied out first.
  std::unique_ptr<char[]> ownCopy;
  const char* own = static_cast<const char*>(mBuf.Get());
  if (src && own && src >= own && src < own + mBuf.GetSize()) {
    if (src + srcLen > own + mBuf.GetSize())
      return false;
    ownCopy.reset(new char[size_t(srcLen)]);
    std::memcpy(ownCopy.get(), src, size_t(srcLen));
    src = ownCopy.get();
  }

  if (total > mBuf.GetSize()) {
    mBuf.Resize(int(total));
    if (mBuf.GetSize() != total)
      return false;
  }
  char* chars = Chars();
  std::memmove(chars + offset + srcLen, chars + offset, size_t(keepTail));
  if (src)
    std::memcpy(chars + offset, src, size_t(srcLen));
  chars[offset + srcLen + keepTail] = 0;
  if (mBuf.GetSize() > total)
    mBuf.Resize(int(total), true);
  return true;
}

bool KIT_String::Set(const char* src, int maxLen) {
  if (!src)
    return Splice(0, nullptr, 0, 0);
  const size_t n = maxLen >= 1 ? strnlen(src, size_t(maxLen)) : std::strlen(src);
  if (n > size_t(INT_MAX - 1))
    return false;
  return Splice(0, src, int(n), 0);
}

bool KIT_String::Append(const char* src, int maxLen) {
  if (!src)
    return true;
  const size_t n = maxLen >= 1 ? strnlen(src, size_t(maxLen)) : std::strlen(src);
  if (n == 0)
    return true;
  if (n > size_t(INT_MAX - 1))
    return false;
  return Splice(GetLength(), src, int(n), 0);
}

bool KIT_String::SetLen(int len, bool resizeDown) {
  len = std::max(len, 0);
  if (len == INT_MAX)
    return false;
  const int oldSize = mBuf.GetSize();
  mBuf.Resize(len + 1, resizeDown);
  if (mBuf.GetSize() != len + 1)
    return false;
  if (len + 1 > oldSize)
    std::memset(Chars() + oldSize, 0, size_t(len + 1 - oldSize));
  Chars()[len] = 0;
  return true;
}

void KIT_String::DeleteSub(int pos, int len) {
  const int length = GetLength();
  if (length == 0 || pos < 0 || pos >= length || len <= 0)
    return;
  len = std::min(len, length - pos);
  char* chars = Chars();
  std::memmove(chars + pos, chars + pos + len, size_t(length - pos - len + 1));
  mBuf.Resize(length - len + 1);
}

// Formatted into a scratch buffer first: an argument may point into this string, whose
// buffer the edit may move.
bool KIT_String::SetAppendFormattedArgs(bool append, int maxLen, const char* format, va_list args) {
  maxLen = std::max(maxLen, 0);
  if (maxLen == INT_MAX)
    return false;
  std::unique_ptr<char[]> text(new (std::nothrow) char[size_t(maxLen) + 1]);
  if (!text)
    return false;
  const int written = std::vsnprintf(text.get(), size_t(maxLen) + 1, format, args);
  if (written < 0)
    return false;
  const int n = std::min(written, maxLen);
  const int start = append ? GetLength() : 0;
  if (n == 0)
    return append ? true : Splice(0, nullptr, 0, 0);
  if (!Splice(start, text.get(), n, 0))
    return false;
  mBuf.Resize(start + n + 1, true);
  return true;
}

bool KIT_String::SetFormatted(int maxLen, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const bool ok = SetAppendFormattedArgs(false, maxLen, format, args);
  va_end(args);
  return ok;
}

bool KIT_String::AppendFormatted(int maxLen, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const bool ok = SetAppendFormattedArgs(true, maxLen, format, args);
  va_end(args);
  return ok;
}
