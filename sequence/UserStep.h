// The per-user step: the install folder into (or out of) TRUSTEDPATHS of every
// AutoCAD profile of the user who runs it, through HKEY_CURRENT_USER only. It
// needs no rights and may run again and again: an entry is never doubled, every
// other entry is kept, and no AutoCAD key is made that the user's AutoCAD has
// not made (a profile appears when the user first starts AutoCAD).
#pragma once

#include "deploy/TrustedPathProgram.h"
#include "framework/Reporter.h"
#include "framework/String.h"
#include "platform/Failure.h"
#include "sequence/ExitCodes.h"

// kExitDone; kExitBadCommandLine for a folder the setup could not have installed
// into (noted); kExitNothingDone when the folder to add no longer exists (a
// trusted path to a missing folder is one anybody may fill); kExitWriteFailed
// when a profile could not be written (noted, with the reason).
// This user's Active Setup record follows (see RecordUserStepDone).
ExitCode RunUserStep(UserStepMode mode, const CString& strFolder, Reporter& reporter);

// The setup's and the uninstaller's part, for every user of the machine:
// - kUserStepAdd: the copy of the per-user program in Program Files is placed and
//   the Active Setup component written (every user gets the step at their next
//   logon); then the person at the machine gets it now: here, when this program
//   runs as that person (or that cannot be told: the account running it is then
//   the one served), otherwise started as that person, since this program's
//   HKEY_CURRENT_USER is then SYSTEM's or another administrator's.
// - kUserStepRemove: this user's entries went with the removal's own plan; the
//   component, when it is this folder's, turns into the removal (which still
//   runs once the install folder is gone), and the person at the machine, when
//   this program is not them, gets the removal now.
// The copy is taken from strSource: the payload when installing (as trusted as
// the setup itself, where the install folder is only as safe as the folders
// above it, which the user chose), the install folder when removing, and then
// only when the copy is missing.
// What could not be written is added to failures, each with its log line.
void ReachEveryUser(UserStepMode mode, const CString& strFolder, const CStringW& strSource, Reporter& reporter,
                    FailureList& failures);
