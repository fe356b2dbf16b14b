// The AutoCAD releases the setup knows, 2007 to 2027, named by index k = year - 2007.
#pragma once

#include <windows.h>

constexpr int kFirstRelease = 2007;
constexpr int kLastRelease = 2027;
constexpr int kReleaseCount = kLastRelease - kFirstRelease + 1;
// The Wow6432Node scan looks for the first releases only (2007 to 2010).
constexpr int kWow6432ReleaseCount = 4;

constexpr int ReleaseIndex(int nYear) { return nYear - kFirstRelease; }
constexpr int ReleaseYear(int k) { return kFirstRelease + k; }
constexpr bool IsKnownRelease(int nYear) { return nYear >= kFirstRelease && nYear <= kLastRelease; }

// Which releases are ticked: one BOOL per release, 2007 first. Passed whole,
// never as 21 arguments.
typedef BOOL ReleaseTicks[kReleaseCount];
