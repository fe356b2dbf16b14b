// Reads what the screen shows.
#pragma once

#include <windows.h>

#include <vector>

// The pixels of a screen rectangle, top row first, as 0x00RRGGBB.
std::vector<DWORD> CaptureScreen(const RECT& r);
// Writes a screen rectangle as a 32-bit BMP file.
bool SaveScreenBmp(const RECT& r, const char* pszPath);
