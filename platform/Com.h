// COM (and OLE) for the thread that shows windows: the shell's folder browser
// needs it to show folders that COM provides (portable devices, network, cloud).
#pragma once

class ScopedOle {
public:
    ScopedOle();   // OleInitialize: apartment-threaded
    ~ScopedOle();  // OleUninitialize, when the start succeeded
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

private:
    bool m_bStarted;
};
