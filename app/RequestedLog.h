// The log a command line asks for (/LOG=), opened before anything else is done.
#pragma once

#include "app/CommandLine.h"

class LogFile;

// Opens the log the options name, if any (a relative path from the current
// folder, missing folders made), continued with bAppend. False when it cannot be
// written: the user is told (a box, or nothing but the exit code when the run
// is silent), and the program ends with the command-line code, having done nothing.
bool OpenRequestedLog(const CommandLine& options, LogFile& log, bool bAppend, const char* pszCaption);
