// What a run of SetUp.exe or Uninstall.exe ended with: its exit code, for either
// face (the dialog or the unattended run). The README's table is this one.
#pragma once

enum ExitCode {
    kExitDone = 0,              // installed / removed
    kExitBadCommandLine = 1,    // command line not understood
    kExitNothingDone = 2,       // no release found or ticked, or the user cancelled
    kExitAcadRunning = 3,
    kExitFolderRefused = 4,
    kExitNeedAdmin = 5,
    kExitPayloadMissing = 6,
    kExitCopyAborted = 7,       // a payload file could not be copied (Abort)
    kExitWriteFailed = 8,       // something could not be written / removed
    kExitNotInstallFolder = 9,  // Uninstall.exe not started from an install folder
};
