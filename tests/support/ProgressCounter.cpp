#include "tests/support/ProgressCounter.h"

#include <commctrl.h>

namespace {

const char kClass[] = "TrabexProgressCounter";

LRESULT CALLBACK CounterProc(HWND h, UINT msg, WPARAM w, LPARAM l)
{
    if (msg == PBM_STEPIT) {
        SetWindowLongPtrA(h, GWLP_USERDATA, GetWindowLongPtrA(h, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcA(h, msg, w, l);
}

} // namespace

ProgressCounter::ProgressCounter()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CounterProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    Attach(CreateWindowA(kClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr));
}

ProgressCounter::~ProgressCounter()
{
    DestroyWindow(Detach());
}

int ProgressCounter::Steps() const
{
    return static_cast<int>(GetWindowLongPtrA(m_hWnd, GWLP_USERDATA));
}
