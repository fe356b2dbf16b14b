// Uninstall.exe /S: the removal with no window. The process a deployment tool
// started does the removal itself and returns its result; only its own file and
// the emptied folders are left to the temporary copy, once this process has ended.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"
#include "sequence/ExitCodes.h"

class LogFile;
class RemovalSequence;

// removal has been prepared (an install folder, its plan); pszExeName is the
// uninstaller's file name there.
ExitCode RunUnattendedRemoval(const RemovalSequence& removal, const char* pszExeName, LogFile* pLog);
