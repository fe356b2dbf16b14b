// Where the add-on's files come from, and what lies at one of the program's
// own paths (GBK).
#pragma once

#include "framework/String.h"
#include "framework/StringW.h"
#include "platform/Files.h"

// The payload folder: "Data" beside the program, else the program's own folder
// when "Trabex2010.arx" lies there. Wide: the program may have been unpacked
// anywhere (a user's Downloads with a name of any language). False (nothing
// shown) when there is none; the install's checks find it once and hand it to
// every step.
bool LocatePayload(CStringW& strPayload);

// GetPathKind and ClearReadOnly (platform/Files.h) for one of the program's own
// paths (GBK), converted; as those, nothing is reported.
int GetPathKind(CString strPath);
void ClearReadOnly(CString strPath);
