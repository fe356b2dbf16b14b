#include "acad/AcadRegistry.h"

CAcadRegistry theAcadRegistry;

CAcadRegistry::CAcadRegistry()
    : m_strValueName("AcadLocation")
{
}

void CAcadRegistry::SetInstallFolder(CString folder)
{
    m_strInstallFolder = folder;
    // Only a real backslash counts: a double-byte character ending in 0x5C stays whole.
    if (m_strInstallFolder.EndsWithChar('\\'))
        m_strInstallFolder.Delete(m_strInstallFolder.GetLength() - 1);
}

void StripTrailingBackslash(CString& str)
{
    const int pos = str.ReverseFind('\\');
    if (pos > 0 && pos == str.GetLength() - 1)
        str.Delete(pos);
}
