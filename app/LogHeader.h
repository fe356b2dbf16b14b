// The log's first lines: what ran (program, version, edition), where (Windows,
// its bitness, the session), as whom (the account, elevated or not) and, for the
// setup, from which payload folder. Support reads a log without asking.
#pragma once

#include "framework/Reporter.h"

// pszProgram: the program's name; bPayload: also the payload folder the setup
// would copy from.
void NoteLogHeader(Reporter& notes, const char* pszProgram, bool bPayload);
