// COM (and OLE) for the thread that shows the shell's folder browser, while it
// shows: it needs it for folders that COM provides (portable devices, network,
// cloud).
#pragma once

class ScopedOle {
public:
    ScopedOle();   // OleInitialize: apartment-threaded
    ~ScopedOle();  // OleUninitialize, when the start succeeded
    ScopedOle(const ScopedOle&) = delete;
    ScopedOle& operator=(const ScopedOle&) = delete;

private:
    bool m_bStarted = false;
};
