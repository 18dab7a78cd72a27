// ReleaseCPUTime: a message-pumping pause.
#include "ReleaseCPUTime.h"

void ReleaseCPUTime(DWORD ms, HANDLE hStop, volatile LONG* pStop) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        // PeekMessage also delivers messages sent to this thread's windows by other threads.
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {   // keep the quit for the thread's own loop
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (pStop && *pStop) return;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) return;
        DWORD n = hStop ? 1 : 0;
        DWORD r = MsgWaitForMultipleObjectsEx(n, hStop ? &hStop : nullptr, ms - elapsed, QS_ALLINPUT,
                                              MWMO_INPUTAVAILABLE);
        if (hStop && r == WAIT_OBJECT_0) return;
    }
}
