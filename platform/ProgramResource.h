// Raw data built into the running program (an RCDATA resource).
#pragma once

#include "framework/String.h"

// The bytes of the program's RCDATA resource nId; false when it carries none.
bool ReadProgramData(int nId, CString& strBytes);
