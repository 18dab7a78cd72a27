// corelink_shots.exe: shows each box and dialog of the library, one at a time, so that a
// script can take its picture. For each it prints
//     SHOT NAME HWND X Y W H
// (the window's place on the screen), waits for "next" on standard input, and closes it.
// It ends with "DONE". Adding a picture is adding one step to kSteps.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <string>
#include <Corelink.h>
#include <afxwin.h>
#include <host_driver.h>
#include <host_lines.h>
#include <unique_res.h>
#include "download_shot.h"

namespace {

CWinApp theApp;
DWORD g_mainThread = 0;
std::string g_current;   // the step being shown
bool (*g_ready)(HWND) = nullptr;   // when the step's window is ready for its picture (null: at once)

// The text of string id of the current resource source.
std::wstring text_of(UINT id) {
    const wchar_t* text = nullptr;
    int n = LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 ? std::wstring(text, n) : std::wstring();
}

// Makes language the user's choice and loads its language file (English: the built-in set).
void use_language(const wchar_t* language) {
    win32::unique_hkey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Veranox\\Quillbox\\GUI", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, key.put(), nullptr) == ERROR_SUCCESS)
        RegSetValueExW(key.get(), L"Language", 0, REG_SZ, reinterpret_cast<const BYTE*>(language),
                       static_cast<DWORD>((wcslen(language) + 1) * sizeof(wchar_t)));
    static win32::unique_hmodule loaded;
    AfxSetResourceHandle(nullptr);
    loaded.reset(_LoadLanguageResource(reinterpret_cast<const unsigned short*>(L"Corelink"), 0, 0));
}

// ---- the watcher: finds the window a step opened, reports it, closes it on "next" ----------

BOOL CALLBACK first_visible(HWND window, LPARAM out) {
    if (!IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
}

void close_window(HWND window) {
    // Dialogs and boxes close with their Cancel button, or the first button they have.
    if (HWND cancel = GetDlgItem(window, IDCANCEL)) {
        SendMessageW(cancel, BM_CLICK, 0, 0);
        return;
    }
    HWND button = FindWindowExW(window, nullptr, L"Button", nullptr);
    if (button) SendMessageW(button, BM_CLICK, 0, 0);
    else PostMessageW(window, WM_CLOSE, 0, 0);
}

DWORD WINAPI watch(void*) {
    HWND window = nullptr;
    for (int i = 0; i < 500 && !window; ++i) {   // up to 10 s
        EnumThreadWindows(g_mainThread, first_visible, reinterpret_cast<LPARAM>(&window));
        if (!window) Sleep(20);
    }
    if (!window) {
        HostReply("MISSING " + g_current);
        return 0;
    }
    for (int i = 0; g_ready && i < 1500 && !g_ready(window); ++i) Sleep(20);   // up to 30 s
    // Everything painted before the picture is taken.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    RECT r;
    GetWindowRect(window, &r);
    char line[160];
    snprintf(line, sizeof(line), "SHOT %s %lu %ld %ld %ld %ld", g_current.c_str(),
             static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), r.left, r.top, r.right - r.left,
             r.bottom - r.top);
    HostReply(line);
    std::string answer;
    HostReadLine(answer);
    close_window(window);
    return 0;
}

// Runs show() on this thread while the watcher reports and closes what it opens.
void shoot(const char* name, void (*show)(), bool (*ready)(HWND)) {
    g_current = name;
    g_ready = ready;
    win32::unique_handle watcher(CreateThread(nullptr, 0, watch, nullptr, 0, nullptr));
    show();
    WaitForSingleObject(watcher.get(), INFINITE);
}

// ---- steps ----------------------------------------------------------------------------------

// A question box as the library's message boxes show one: the application's name as caption.
void name_too_long_box() {
    MessageBoxW(nullptr, text_of(2005).c_str(), theApp.m_pszAppName, MB_YESNO | MB_ICONQUESTION);
}

void download_failed_box() {
    MessageBoxW(nullptr, text_of(2010).c_str(), theApp.m_pszAppName, MB_OK | MB_ICONSTOP);
}

// The dialog templates as the language resources lay them out, in their first state.
INT_PTR CALLBACK template_preview(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        if (HWND list1 = GetDlgItem(dialog, 15016)) ShowWindow(list1, SW_HIDE);
        if (HWND list2 = GetDlgItem(dialog, 15017)) ShowWindow(list2, SW_HIDE);
        if (GetDlgItem(dialog, 15018)) SetDlgItemTextW(dialog, 15018, L"Holiday 2026");
        if (HWND pos = GetDlgItem(dialog, 15000)) {
            for (const wchar_t* row : {L"1", L"2", L"3"}) SendMessageW(pos, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row));
            SendMessageW(pos, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text_of(2014).c_str()));
            SendMessageW(pos, CB_SETCURSEL, 3, 0);
        }
        if (GetDlgItem(dialog, 7215)) SetDlgItemTextW(dialog, 7215, text_of(2216).c_str());
        if (HWND bar = GetDlgItem(dialog, 7216)) SendMessageW(bar, PBM_SETPOS, 40, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK || LOWORD(wParam) == 7217)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

template <int Id>
void dialog_template() {
    HINSTANCE source = AfxFindResourceHandle(MAKEINTRESOURCEW(Id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!source) source = AfxGetResourceHandle();
    DialogBoxParamW(source, MAKEINTRESOURCEW(Id), nullptr, template_preview, 0);
}

struct Step {
    const char* name;
    const wchar_t* language;   // the language loaded before the step
    void (*show)();
    bool (*ready)(HWND) = nullptr;   // the picture waits for this
};

const Step kSteps[] = {
    {"box_name_too_long_en", L"English", name_too_long_box},
    {"box_download_failed_en", L"English", download_failed_box},
    {"template_name_select_en", L"English", dialog_template<15021>},
    {"template_position_select_en", L"English", dialog_template<15007>},
    {"template_download_en", L"English", dialog_template<7011>},
    {"download_dialog_en", L"English", DownloadDialogMidWay, DownloadDialogReady},
    {"box_name_too_long_de", L"Deutsch", name_too_long_box},
    {"box_download_failed_de", L"Deutsch", download_failed_box},
    {"template_name_select_de", L"Deutsch", dialog_template<15021>},
    {"template_position_select_de", L"Deutsch", dialog_template<15007>},
    {"template_download_de", L"Deutsch", dialog_template<7011>},
    {"download_dialog_de", L"Deutsch", DownloadDialogMidWay, DownloadDialogReady},
    {"box_name_too_long_ja", L"Japanese", name_too_long_box},
    {"template_download_ja", L"Japanese", dialog_template<7011>},
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    g_mainThread = GetCurrentThreadId();
    const wchar_t* title = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), 0xE000, reinterpret_cast<wchar_t*>(&title), 0);
    if (n > 0) theApp.SetAppName(std::wstring(title, n).c_str());
    // With a name, only that step is shown.
    std::string only = argc > 1 ? ToUtf8(argv[1]) : std::string();
    const wchar_t* language = nullptr;
    for (const Step& step : kSteps) {
        if (!only.empty() && only != step.name) continue;
        if (!language || wcscmp(language, step.language) != 0) use_language(language = step.language);
        shoot(step.name, step.show, step.ready);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Veranox\\Quillbox\\GUI", L"Language");
    HostReply("DONE");
    return 0;
}
