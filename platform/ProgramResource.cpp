#include "platform/ProgramResource.h"

#include <windows.h>

bool ReadProgramData(int nId, CString& strBytes)
{
    // Resources stay mapped with the program: nothing to free.
    const HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(nId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    const HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return false;
    strBytes = CString(static_cast<const char*>(bytes), static_cast<int>(SizeofResource(nullptr, found)));
    return true;
}
