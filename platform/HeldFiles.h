// Files kept open against writers (Files::OpenAgainstWriters) by their names
// relative to the folder they lie in: while the set holds a file no one may
// write, rename or delete it, so the bytes that were checked are the bytes read
// later. Every handle is closed when the set is emptied or goes.
#pragma once

#include <windows.h>

#include "framework/Array.h"
#include "framework/StringW.h"
#include "platform/Handle.h"

class HeldFiles {
public:
    HeldFiles() = default;
    ~HeldFiles() { Release(); }
    HeldFiles(const HeldFiles&) = delete;
    HeldFiles& operator=(const HeldFiles&) = delete;

    // Keeps the open file under the name; file is left empty.
    void Keep(const CStringW& strRelative, ScopedHandle& file);
    // The file held under the name (compared as EqualsNoCase does), or NULL.
    HANDLE Find(const CStringW& strRelative) const;
    int GetSize() const { return m_handles.GetSize(); }
    // Closes every handle.
    void Release();
    // Takes every file other holds (closing what this set held); other is left empty.
    void TakeAll(HeldFiles& other);

private:
    CStringArrayW m_names;
    CArray<HANDLE> m_handles;
};
