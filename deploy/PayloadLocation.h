// The running-AutoCAD check, the payload location and two small file operations
// the copy steps share.
#pragma once

#include "framework/Reporter.h"
#include "framework/String.h"

// What GetPathKind finds at a path.
enum PathKind { kPathMissing = 0, kPathFile = 1, kPathFolder = 2 };

// True when a running process's image name contains "acad.exe", in any case.
bool IsAcadRunning();
// The payload folder: "Data" beside the program, else the program's own folder
// when "Trabex2010.arx" lies there. Shows a message and returns false otherwise.
bool LocatePayload(CString& strPayload);
// The same, telling reporter instead.
bool LocatePayload(CString& strPayload, Reporter& reporter);
// The same search, silently: false when there is no payload.
bool FindPayloadFolder(CString& strPayload);
int GetPathKind(CString strPath);
// Clears FILE_ATTRIBUTE_READONLY and keeps every other attribute.
void ClearReadOnly(CString strPath);
