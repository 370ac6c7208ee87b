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
