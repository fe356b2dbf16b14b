#include "platform/WorkerThread.h"

#include "framework/Reporter.h"

bool WorkerThread::Start(LPTHREAD_START_ROUTINE fn, void* pContext, int nPriority)
{
    Wait(nullptr);
    m_thread.Reset(CreateThread(nullptr, 0, fn, pContext, CREATE_SUSPENDED, nullptr));
    if (!m_thread.IsValid())
        return false;
    if (nPriority != THREAD_PRIORITY_NORMAL)
        SetThreadPriority(m_thread.Get(), nPriority);  // a thread that keeps the normal one still works
    ResumeThread(m_thread.Get());
    return true;
}

void WorkerThread::Wait(Reporter* pProgress)
{
    if (!m_thread.IsValid())
        return;
    constexpr DWORD kStepMs = 50;
    DWORD waited;
    while ((waited = WaitForSingleObject(m_thread.Get(), kStepMs)) == WAIT_TIMEOUT) {
        if (pProgress)
            pProgress->Step();
    }
    // A wait that failed still may not let the thread outlive its work.
    if (waited != WAIT_OBJECT_0)
        WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Close();
}
