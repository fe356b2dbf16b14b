// One SetUp.exe or Uninstall.exe of the add-on at a time on the machine, of
// either edition: both programs take the same name first thing, before anything
// is written, and a second start is told so (the dialog) or ends busy (/S).
#pragma once

#include <windows.h>

#include "framework/Reporter.h"
#include "platform/SingleInstance.h"
#include "sequence/ExitCodes.h"

// The name both programs take.
constexpr wchar_t kSingleRunName[] = L"Global\\Ostrevo.Trabex.Q-Ostrevo.Setup";

struct SingleRun {
    SingleInstance::Outcome outcome = SingleInstance::kUnavailable;
    DWORD dwError = ERROR_SUCCESS;
    bool Busy() const { return outcome == SingleInstance::kBusy; }
};

// Takes the name for this process (it keeps it until it ends).
SingleRun TakeSingleRun();
// kExitBusy, told with the caption, when another run holds the name; otherwise
// kExitDone (a name held by someone else, or none to be had, is noted and the
// run goes on: no other account may keep the add-on from being installed).
ExitCode TellSingleRun(const SingleRun& run, Reporter& reporter, const char* pszCaption);
