// The log a command line asks for (/LOG=), opened before anything else is done.
#pragma once

#include "app/CommandLine.h"

class LogFile;

// Where a run without /LOG= keeps its log: this name in the temporary folder
// (GetTempPath2W's, private to SYSTEM under a deployment tool); the last run's kept.
constexpr char kSetupDefaultLog[] = "Q-Ostrevo-setup.log";
constexpr char kUninstallDefaultLog[] = "Q-Ostrevo-uninstall.log";

// Opens the log the options name (a relative path from the current folder,
// missing folders made), continued with bAppend. False when it cannot be
// written: the user is told (a box, or nothing but the exit code when the run
// is silent), and the program ends with the command-line code, having done
// nothing. Without /LOG= the default log pszDefaultName is opened instead; one
// that cannot be opened safely is skipped, never a reason to stop.
bool OpenRequestedLog(const CommandLine& options, LogFile& log, bool bAppend, const char* pszCaption,
                      const char* pszDefaultName);
