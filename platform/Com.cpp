#include "platform/Com.h"

#include <windows.h>

#include <ole2.h>

#include "platform/SystemLibrary.h"

// ole32.dll loaded when the browser first needs it, not with the program.
ScopedOle::ScopedOle()
{
    const auto initialize = SystemFunctionAs<decltype(&OleInitialize)>(L"ole32.dll", "OleInitialize");
    m_bStarted = initialize && SUCCEEDED(initialize(nullptr));
}

ScopedOle::~ScopedOle()
{
    const auto uninitialize = SystemFunctionAs<decltype(&OleUninitialize)>(L"ole32.dll", "OleUninitialize");
    if (m_bStarted && uninitialize)
        uninitialize();
}
