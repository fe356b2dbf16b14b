// What the uninstaller's temporary copy runs, once the installed Uninstall.exe
// that started it has ended: the whole removal after the dialog's Uninstall, or
// only the last steps of an unattended removal.
#pragma once

#include "sequence/TemporaryCopy.h"

// Runs the order; the copy's exit code.
int RunTemporaryCopy(const CopyOrder& order);
