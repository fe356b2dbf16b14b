// Process-list walk, kept inline so callers pass plain lambdas.
#pragma once

#include <tlhelp32.h>

namespace Processes {

template <typename Visit>
bool AnyImageName(Visit visit)
{
    ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid())
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (visit(static_cast<const wchar_t*>(entry.szExeFile)))
            return true;
    }
    return false;
}

} // namespace Processes
