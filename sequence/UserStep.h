// The per-user step: the install folder into (or out of) TRUSTEDPATHS of every
// AutoCAD profile of the user who runs it, through HKEY_CURRENT_USER only. It
// needs no rights and may run again and again: an entry is never doubled, every
// other entry is kept, and no AutoCAD key is made that the user's AutoCAD has
// not made (a profile appears when the user first starts AutoCAD).
#pragma once

#include "framework/Reporter.h"
#include "framework/String.h"
#include "sequence/ExitCodes.h"

enum UserStepMode { kUserStepAdd, kUserStepRemove };

// kExitDone; kExitBadCommandLine for a folder the setup could not have installed
// into (noted); kExitNothingDone when the folder to add no longer exists (a
// trusted path to a missing folder is one anybody may fill); kExitWriteFailed
// when a profile could not be written (noted, with the reason).
ExitCode RunUserStep(UserStepMode mode, const CString& strFolder, Reporter& reporter);
