#include "platform/HeldFiles.h"

void HeldFiles::Keep(const CStringW& strRelative, ScopedHandle& file)
{
    m_names.Add(strRelative);
    m_handles.Add(file.Release());
}

HANDLE HeldFiles::Find(const CStringW& strRelative) const
{
    const int i = FindNoCase(m_names, strRelative);
    return i >= 0 ? m_handles[i] : nullptr;
}

void HeldFiles::Release()
{
    for (int i = 0; i < m_handles.GetSize(); ++i) {
        ScopedHandle closed(m_handles[i]);
    }
    m_handles.RemoveAll();
    m_names.RemoveAll();
}

void HeldFiles::TakeAll(HeldFiles& other)
{
    Release();
    m_names = other.m_names;
    m_handles = other.m_handles;
    other.m_handles.RemoveAll();  // now ours to close
    other.m_names.RemoveAll();
}
