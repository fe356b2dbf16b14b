// Folders Windows itself names: the only code that asks the shell for them.
#pragma once

#include "framework/StringW.h"

// This program's Program Files folder (for a 32-bit program on 64-bit Windows,
// "Program Files (x86)"), as Windows keeps it under HKEY_LOCAL_MACHINE: never from
// the environment, which the user who started the program may have set.
// Empty when Windows cannot tell. Asked on the program's main thread only:
// the first answer is kept.
CStringW ProgramFilesFolder();
