#include "platform/Com.h"

#include <windows.h>

#include <ole2.h>

ScopedOle::ScopedOle()
    : m_bStarted(SUCCEEDED(OleInitialize(nullptr)))
{
}

ScopedOle::~ScopedOle()
{
    if (m_bStarted)
        OleUninitialize();
}
