// The installation Apps & Features lists: an upgrade, a repair or a downgrade
// goes where it is, unless /D= names another folder.
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"

struct EarlierInstall {
    CStringW strChosenFolder;  // the folder chosen then: the install folder's parent
    CString strVersion;        // its version as listed ("2026.3.31"); may be empty
    int nVersion = 0;          // the same as major * 10000 + minor * 100 + patch; 0 when unreadable
};

// True when the entry names an install folder (...\Q-Ostrevo) that still exists.
bool FindEarlierInstall(EarlierInstall& earlier);
// "2026.3.31" as 20260331; 0 when it is not of that form.
int ParseSetupVersion(const char* pszVersion);
