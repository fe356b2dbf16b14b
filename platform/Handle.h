// Owns a kernel handle; accepts both NULL and INVALID_HANDLE_VALUE as "none".
#pragma once

#include <windows.h>

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE h = nullptr) : m_h(h) {}
    ~ScopedHandle() { Close(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool IsValid() const { return m_h && m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }
    void Close()
    {
        if (IsValid())
            CloseHandle(m_h);
        m_h = nullptr;
    }
    // Gives up the handle without closing it: the caller owns it now.
    HANDLE Detach()
    {
        const HANDLE h = m_h;
        m_h = nullptr;
        return h;
    }
    // Closes what it held and takes h.
    void Reset(HANDLE h)
    {
        Close();
        m_h = h;
    }

private:
    HANDLE m_h;
};
