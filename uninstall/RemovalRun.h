// The dialog face's removal, in the temporary copy: a running program cannot
// delete its own file, so the installed Uninstall.exe hands the work to a copy of
// itself, which waits for it to end and then removes everything.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"

// In the copy: waits for process nWaitFor, removes the add-on installed in
// strFolder, and tells the user what is left, if anything. strLog: the log the
// dialog wrote (continued), or empty. Returns the exit code.
int RunRemovalInCopy(const CString& strFolder, unsigned long nWaitFor, const CStringW& strLog);
