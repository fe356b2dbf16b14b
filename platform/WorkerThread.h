// One function run on a thread of its own; the thread is waited for before the
// object goes, so that it never outlives what it works on.
#pragma once

#include <windows.h>

#include "platform/Handle.h"

class Reporter;

class WorkerThread {
public:
    WorkerThread() = default;
    ~WorkerThread() { Wait(nullptr); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Starts fn(pContext) on a new thread (waiting first for one started
    // before) at the priority given (a THREAD_PRIORITY_* value); false, with
    // the last error set, when Windows starts none.
    bool Start(LPTHREAD_START_ROUTINE fn, void* pContext, int nPriority = THREAD_PRIORITY_NORMAL);
    // A thread was started and has not been waited for.
    bool IsStarted() const { return m_thread.IsValid(); }
    // Waits until the thread has ended. pProgress (may be NULL) is stepped every
    // 50 ms meanwhile, so that a window waiting for it keeps answering.
    void Wait(Reporter* pProgress);

private:
    ScopedHandle m_thread;
};
