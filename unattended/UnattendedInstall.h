// SetUp.exe /S: the installation with no window at all. Every message goes to the
// log; every question gets the answer a run with nobody at the keyboard must give.
#pragma once

#include "acad/AcadRegistry.h"
#include "sequence/ExitCodes.h"

class LogFile;

// Installs for the releases the dialog would have ticked, into strFolder (the
// dialog's default when empty), after every check of the interactive path.
ExitCode RunUnattendedInstall(CAcadRegistry& record, const CStringW& strFolder, LogFile* pLog);
