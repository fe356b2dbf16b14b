// Whether a run shows windows, decided once at start-up from its switches and
// from where it runs, and what the log says about it.
#pragma once

#include "app/CommandLine.h"
#include "platform/WinResult.h"

class Reporter;

struct RunFace {
    bool bNoDesktop = false;  // no /S, but run where no desktop can show a window
    WinResult sessionRead;    // the session query, when one was made
};

// A run without /S in session 0 (SYSTEM under a deployment tool) goes on as /S:
// a box there would wait forever for a click nobody can give. Sets
// options.bSilent then.
RunFace ChooseRunFace(CommandLine& options);

// Notes in the log why a run without /S shows nothing, and the switches taken
// but ignored.
void NoteRunFace(const CommandLine& options, const RunFace& face, Reporter& notes);
