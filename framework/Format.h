// Bounded printf-style formatting into fixed, zero-filled buffers.
#pragma once

#include <cstddef>

// The Windows path limit, terminating NUL included.
constexpr size_t kPathBufferSize = 260;
// The long-text buffer (trusted-path values), terminating NUL included.
constexpr size_t kLongBufferSize = 13000;

using PathBuffer = char[kPathBufferSize];
using LongBuffer = char[kLongBufferSize];

// Zero-fills buf, then formats into it without ever writing past its end.
// Returns false when the text did not fit: buf then holds a cut text that
// callers must not use as a path or value.
bool FormatPath(PathBuffer& buf, const char* pszFormat, ...);
bool FormatLong(LongBuffer& buf, const char* pszFormat, ...);
