// What a program that runs elevated does before anything else: DLLs that
// Windows components load by bare name come from System32 only (never from the
// folder the program was started from, often a user's Downloads), and no
// "No Disk" or critical-error box can appear while nobody is there to answer it.
#pragma once

// Call first thing in every program (and the uninstaller's temporary copy).
void HardenProcess();
