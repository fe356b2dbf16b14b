// Fixed when the program is built; never written at run time.
#pragma once

// The setup's version: major * 10000 + minor * 100 + patch.
extern const int g_nSetupVersion;
// Bitness of the AutoCAD edition this setup serves: 32 or 64.
extern const int g_nTargetBits;
