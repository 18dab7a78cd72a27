// ShowNotifyMessage: the suite's notify popup, one at a time in each process.
#include <windows.h>
#include <SplashWindow.h>
#include "HintMessages.h"

namespace {

// The last notify popup of this process. Only one user interface thread shows them.
HWND g_hNotifyWnd = nullptr;

// The notify look: padding 10 and 10, a 2-pixel black border, black text on light yellow.
const SPLASH_STYLE_INFO kNotifyStyle = {10, 10, 2, RGB(255, 255, 220), 0, 0, 0};

// True while h is still the popup this process showed: a handle left over from a popup
// that has gone may since name another window, which must not be closed.
bool IsOurPopup(HWND h) {
    if (!h || !IsWindow(h)) return false;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64] = L"";
    GetClassNameW(h, cls, 64);
    return pid == GetCurrentProcessId() && lstrcmpW(cls, SPLASH_WINDOW_CLASS) == 0;
}

} // namespace

void ShowNotifyMessage(const unsigned short* text, unsigned long dwArg2, unsigned long dwArg3, HWND hParent, int nArg5,
                       int nArg6) {
    if (IsOurPopup(g_hNotifyWnd)) PostMessageW(g_hNotifyWnd, WM_CLOSE, 0, 0);
    g_hNotifyWnd = nullptr;
    g_hNotifyWnd = ShowSplashWindow(text, dwArg2, hParent, nArg5, nArg6, dwArg3, (dwArg3 & SPLASH_ICON_MASK) != 0, &kNotifyStyle);
}
