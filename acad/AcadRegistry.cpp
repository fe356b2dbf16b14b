#include "acad/AcadRegistry.h"

CAcadRegistry theAcadRegistry;

CAcadRegistry::CAcadRegistry()
    : m_strValueName("AcadLocation")
{
}

void CAcadRegistry::SetInstallFolder(CString folder)
{
    m_strInstallFolder = folder;
    StripTrailingBackslash(m_strInstallFolder);
}
