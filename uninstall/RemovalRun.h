// The removal itself. A running program cannot delete its own file, so the
// installed Uninstall.exe hands the work to a copy of itself in the temporary
// folder, which waits for it to end and then removes everything.
#pragma once

#include "framework/String.h"

// The command-line switch of the copy: /remove <pid> "<install folder>".
constexpr char kRemoveSwitch[] = "/remove";

// True when strFolder is named like an install folder (...\Q-Ostrevo): nowhere
// else are files ever deleted, whatever the command line says.
bool IsInstallFolder(const CString& strFolder);

// Starts the temporary copy for strFolder; false (with the copy's path in
// strCopy) when it cannot be made or started.
bool HandOverRemoval(const CString& strFolder, CString& strCopy);

// In the copy: waits for process nWaitFor, removes the add-on installed in
// strFolder, and tells the user what is left, if anything.
void RunRemoval(const CString& strFolder, unsigned long nWaitFor);
