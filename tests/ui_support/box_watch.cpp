// Message box watcher of the tests.
#include "box_watch.h"
#include <algorithm>

bool WaitUntil(const std::function<bool()>& cond, DWORD ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (cond()) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(10);   // polling step of the wait, not a pause standing in for a condition
    }
}

HWND WaitForBox(const std::wstring& caption, DWORD ms) {
    HWND box = nullptr;
    WaitUntil([&] {
        box = FindWindowW(L"#32770", caption.c_str());
        return box && IsWindowVisible(box);
    }, ms);
    return box && IsWindowVisible(box) ? box : nullptr;
}

std::wstring TextOf(HWND h) {
    wchar_t buf[1024] = {};
    GetWindowTextW(h, buf, 1024);
    return buf;
}

RECT RectOf(HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
}

HWND TextControl(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (UINT(GetDlgCtrlID(c)) >= 0xFFFF) return c;
    return nullptr;
}

std::vector<HWND> Buttons(HWND box) {
    std::vector<HWND> out;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t cls[16] = {};
        GetClassNameW(c, cls, 16);
        LONG type = GetWindowLongW(c, GWL_STYLE) & 0x0F;
        if (!lstrcmpiW(cls, L"Button") && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) out.push_back(c);
    }
    std::sort(out.begin(), out.end(), [](HWND a, HWND b) { return RectOf(a).left < RectOf(b).left; });
    return out;
}

static BOOL CALLBACK AddWindow(HWND w, LPARAM out) {
    reinterpret_cast<std::vector<HWND>*>(out)->push_back(w);
    return TRUE;
}

std::vector<HWND> ThreadWindows(DWORD tid) {
    std::vector<HWND> out;
    if (tid) EnumThreadWindows(tid, AddWindow, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND ButtonById(HWND box, int id) { return GetDlgItem(box, id); }

void Click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }

BoxThread::BoxThread(std::function<int()> call) : done_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_ = std::thread([this, call] {
        tid_ = GetCurrentThreadId();
        result_ = call();
        SetEvent(done_.get());
    });
}

bool BoxThread::Wait(DWORD ms) { return WaitForSingleObject(done_.get(), ms) == WAIT_OBJECT_0; }

BoxThread::~BoxThread() {
    // A box left open by a failed expectation: cancel it, else press its first button.
    while (!Wait(0)) {
        for (HWND w : ThreadWindows(tid_)) {
            PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
            std::vector<HWND> b = Buttons(w);
            if (!b.empty()) PostMessageW(b.front(), BM_CLICK, 0, 0);
        }
        Wait(200);
    }
    thread_.join();
}
