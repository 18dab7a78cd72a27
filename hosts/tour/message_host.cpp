// messagehost.exe: the tour's user-interface host for the altered message box and the notify
// popup. It carries the built-in English resources and answers one line per command:
//
//   countdown SECONDS   a box with the "do not show again" check box, opened checked, that
//                       counts down and ends by itself; a watcher in this host plays the
//                       user who unchecks the box. "ok returned=R|after=MS|value=V|texts=T1;T2;..."
//   notify              two notify messages, the second replacing the first and closing by
//                       itself. "ok first=...|second=...|..."
//   quit
// It says "ready" once loaded.
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <vector>
#include <Corelink.h>
#include <SplashWindow.h>
#include <afxwin.h>
#include <host_driver.h>
#include <host_lines.h>

namespace {

CWinApp theApp(L"Quillbox");
const wchar_t kCaption[] = L"Quillbox count-down";

std::wstring TextOf(HWND h) {
    wchar_t text[512] = L"";
    GetWindowTextW(h, text, 512);
    return text;
}

// The box's text control: the first child whose identifier is 0xFFFF or more.
HWND TextControl(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (UINT(GetDlgCtrlID(c)) >= 0xFFFF) return c;
    return nullptr;
}

// Handles this thread's messages for about ms milliseconds, or until done() holds.
template <class Done>
void Pump(DWORD ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

std::string CountDown(int seconds) {
    CString check;
    check.LoadString(2023);
    UINT value = 1;
    SXMSGBOX rec{SX_MSGBOX_CHECKBOX, UINT(seconds), reinterpret_cast<const unsigned short*>(check.GetString()), &value, 0, 0};

    // The user: watches the text count down and unchecks the box once; never presses a button.
    std::vector<std::wstring> texts;
    std::thread user([&] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && !box; ++i) {
            box = FindWindowW(L"#32770", kCaption);
            if (box && !IsWindowVisible(box)) box = nullptr;   // shown once its alterations are made
            if (!box) Sleep(10);
        }
        if (!box) return;
        HWND text = TextControl(box);
        bool unchecked = false;
        while (IsWindow(box)) {
            std::wstring now = TextOf(text);
            if (!now.empty() && (texts.empty() || texts.back() != now)) texts.push_back(now);
            HWND c = unchecked ? nullptr : GetDlgItem(box, IDC_SX_CHECKBOX);
            if (c) {
                SendMessageW(c, BM_CLICK, 0, 0);
                unchecked = true;
            }
            Sleep(20);
        }
    });
    const DWORD start = GetTickCount();
    int result = SxMessageBox(static_cast<HWND>(nullptr), reinterpret_cast<const unsigned short*>(L"The handset is connected.\n\nThis box closes in (T) seconds."),
                              reinterpret_cast<const unsigned short*>(kCaption), MB_OKCANCEL | MB_ICONINFORMATION, &rec);
    const DWORD elapsed = GetTickCount() - start;
    user.join();
    std::string out = "ok returned=" + std::to_string(result) + "|after=" + std::to_string(elapsed) +
                      "|value=" + std::to_string(value) + "|flags=" + std::to_string(rec.uFlags) + "|texts=";
    for (size_t i = 0; i < texts.size(); ++i) {
        std::wstring t = texts[i];
        t = t.substr(t.find_last_of(L'\n') + 1);   // the count-down line
        out += (i ? ";" : "") + ToUtf8(t);
    }
    return out;
}

HWND Popup(const wchar_t* text) { return FindWindowW(SPLASH_WINDOW_CLASS, text); }

std::string Notify() {
    const wchar_t first[] = L"Handset connected.";
    const wchar_t second[] = L"Reading the phone book\x2026";
    ShowNotifyMessage(reinterpret_cast<const unsigned short*>(first), 0, SPLASH_ICON_INFORMATION, nullptr, 0, 0);
    HWND one = Popup(first);
    Pump(500, [] { return false; });   // on the screen for a moment
    ShowNotifyMessage(reinterpret_cast<const unsigned short*>(second), 1500, SPLASH_ICON_INFORMATION, nullptr, 0, 0);
    HWND two = Popup(second);
    Pump(2000, [&] { return !IsWindow(one); });
    const bool firstClosed = one && !IsWindow(one);
    RECT rc{};
    GetWindowRect(two, &rc);
    const std::string secondText = two ? ToUtf8(TextOf(two)) : std::string("(none)");
    const DWORD start = GetTickCount();
    Pump(10000, [&] { return !IsWindow(two); });
    const DWORD lived = GetTickCount() - start;
    return "ok first=" + std::string(one ? "shown" : "missing") + (firstClosed ? ", closed by the second" : ", still open") +
           "|second=\"" + secondText + "\" at " + std::to_string(rc.left) + "," + std::to_string(rc.top) + " size " +
           std::to_string(rc.right - rc.left) + "x" + std::to_string(rc.bottom - rc.top) +
           "|closed=" + (two && !IsWindow(two) ? "by itself" : "no") + " " + std::to_string(lived) + " ms later";
}

std::string run(const std::string& verb, const std::string& arg) {
    if (verb == "countdown") return CountDown(atoi(arg.c_str()));
    if (verb == "notify") return Notify();
    return "error unknown command " + verb;
}

} // namespace

int wmain() { return HostServe(run); }
