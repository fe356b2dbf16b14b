// Uninstall.exe /S: the removal with no window. The process a deployment tool
// started does the removal itself and returns its result; only its own file and
// the emptied folders are left to the temporary copy, once this process has ended.
#pragma once

#include "acad/AcadRegistry.h"
#include "sequence/ExitCodes.h"

class LogFile;

// strFolder is the folder the program runs from, an install folder (else nothing
// is done); pszExeName its file name there.
ExitCode RunUnattendedRemoval(CAcadRegistry& record, const CString& strFolder, const char* pszExeName,
                              LogFile* pLog);
// In the temporary copy: after process nWaitFor ended, deletes the uninstaller
// pszExeName and the emptied install folder and its emptied parent.
void FinishUnattendedRemoval(const CString& strFolder, unsigned long nWaitFor);
