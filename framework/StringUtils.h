#pragma once

// Small string helpers shared by the framework and the GUI toolkit.

// Copies in lower case into out (outSize bytes, at least 1), cut to fit and terminated.
void ToLower(char* out, const char* in, int outSize);

// Tab, line feed, carriage return and blank.
bool IsWhitespace(char c);

// Local time as "YYYYMMDD HH:MM +hhmm" (offset from UTC), in one static buffer: not for
// concurrent callers.
const char* CurrentTime();

// The framework's trace hook; it produces no output in this system.
void Trace(const char* sourceFile, const char* function, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

#define ORVANE_TRACE(...) Trace(__FILE__, __func__, __LINE__, __VA_ARGS__)

// Widths of the two columns of a trace line's bracketed source prefix.
constexpr int kTraceFileColumn = 16;
constexpr int kTraceFunctionColumn = 20;

// Builds a trace line's start, so that traced lines from many places line up:
//   "<text> [<file name> <function>]"
// with the source file's name (no folders) and the function each padded with blanks or cut to
// their column width. Null arguments count as empty. The line lives in one static string
// until the next call: not for concurrent callers. Nothing in the system calls it, since the
// trace hook above prints nothing; it is kept beside the hook for debugging builds.
const char* TraceLinePrefix(const char* text, const char* sourceFile, const char* function);
