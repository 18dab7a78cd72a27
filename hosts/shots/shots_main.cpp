// corelink_shots.exe LANGUAGE [STEP]: shows each box and dialog of the library in one
// language ("en", "de", "ja"), one at a time, so that a script can take its picture. For each
// it prints
//     SHOT NAME HWND X Y W H [XID:DX:DY ...]
// (the window's place on the screen), before it, where part of the picture changes from run
// to run (the download's bar),
//     VOLATILE X Y W H
// (that part, in the picture's coordinates), waits for "next" on standard input, and closes
// it ("again": paints the windows and reports them once more). It ends with "DONE". Adding a picture is adding one step to kPictures.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <iterator>
#include <string>
#include <vector>
#include <Corelink.h>
#include <afxwin.h>
#include <host_driver.h>
#include <host_lines.h>
#include <unique_res.h>
#include "message_shots.h"
#include "download_shot.h"

namespace {

CWinApp theApp;
DWORD g_mainThread = 0;
std::string g_current;          // the step being shown
void (*g_prepare)(HWND) = nullptr;   // what the watcher does to the step's window before the picture
const wchar_t* g_language = L"English";
bool (*g_ready)(HWND) = nullptr;   // when the step's window is ready for its picture (null: at once)
HWND (*g_volatile)(HWND) = nullptr;   // the part of the step's window that changes from run to run

bool german() { return wcscmp(g_language, L"Deutsch") == 0; }
bool japanese() { return wcscmp(g_language, L"Japanese") == 0; }

// The host's own texts (what a host program gives the controls) in the current language.
const wchar_t* pick(const wchar_t* en, const wchar_t* de, const wchar_t* ja) {
    return japanese() ? ja : german() ? de : en;
}

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

BOOL CALLBACK add_visible(HWND window, LPARAM out) {
    if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(out)->push_back(window);
    return TRUE;
}

// The step's visible windows, topmost first.
std::vector<HWND> step_windows() {
    std::vector<HWND> all;
    EnumThreadWindows(g_mainThread, add_visible, reinterpret_cast<LPARAM>(&all));
    return all;
}

void close_window(HWND window) {
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (wcscmp(cls, L"#32770") != 0) {   // the step's own windows
        PostMessageW(window, WM_CLOSE, 0, 0);
        return;
    }
    // A question is answered No, so that the dialog under it stays as it was.
    if (HWND no = GetDlgItem(window, IDNO)) {
        SendMessageW(no, BM_CLICK, 0, 0);
        return;
    }
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
    if (g_prepare) g_prepare(window);
    // The script answers "again" while a window of the picture is still undrawn.
    std::string answer = "again";
    for (int round = 0; round < 4 && answer == "again"; ++round) {
        // Everything painted before the picture is taken; the picture holds every window the
        // step shows (a dialog and its question, a button and its list).
        RECT r{};
        for (HWND each : step_windows()) {
            RedrawWindow(each, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            DWORD_PTR ignored;
            SendMessageTimeoutW(each, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
            RECT w;
            GetWindowRect(each, &w);
            UnionRect(&r, &r, &w);
        }
        char line[160];
        if (HWND part = g_volatile ? g_volatile(window) : nullptr) {
            RECT v;
            GetWindowRect(part, &v);
            snprintf(line, sizeof(line), "VOLATILE %ld %ld %ld %ld", v.left - r.left, v.top - r.top, v.right - v.left,
                     v.bottom - v.top);
            HostReply(line);
        }
        snprintf(line, sizeof(line), "SHOT %s %lu %ld %ld %ld %ld", g_current.c_str(),
                 static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window)), r.left, r.top, r.right - r.left,
                 r.bottom - r.top);
        // With several windows, each one's X window and place, bottom first: without a window
        // manager the X server's stacking need not follow Windows' order, so the script lays the
        // windows on each other itself.
        std::string shot = line;
        std::vector<HWND> windows = step_windows();
        if (windows.size() > 1) {
            for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
                RECT w;
                GetWindowRect(*it, &w);
                auto xid = reinterpret_cast<ULONG_PTR>(GetPropW(*it, L"__wine_x11_whole_window"));
                snprintf(line, sizeof(line), " 0x%lx:%ld:%ld", static_cast<unsigned long>(xid), w.left - r.left, w.top - r.top);
                shot += line;
            }
        }
        HostReply(shot);
        if (!HostReadLine(answer)) break;
    }
    // Topmost first (a question before its dialog), until the step has nothing open.
    for (int i = 0; i < 20; ++i) {
        std::vector<HWND> open = step_windows();
        if (open.empty()) break;
        close_window(open.front());
        for (int k = 0; k < 100 && IsWindow(open.front()) && IsWindowVisible(open.front()); ++k) Sleep(20);
    }
    return 0;
}

// Runs show() on this thread while the watcher reports and closes what it opens.
void shoot(const char* name, void (*show)(), void (*prepare)(HWND), bool (*ready)(HWND), HWND (*part)(HWND)) {
    g_current = name;
    g_prepare = prepare;
    g_ready = ready;
    g_volatile = part;
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
        if (GetDlgItem(dialog, 15018)) SetDlgItemTextW(dialog, 15018, pick(L"Holiday 2026", L"Urlaub 2026", L"\u4f11\u6687 2026"));
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

// ---- the controls: the menu button, the name and position dialogs ----------------------------


// Handles this thread's messages until window is gone (the watcher closes it).
void run_until_closed(HWND window) {
    MSG m;
    while (IsWindow(window) && GetMessageW(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

enum class ButtonState { Closed, Pressed, Open, Focused, KeyboardOpen };

// A window with a menu button of three storage places, in one of its states: closed, pressed,
// open under the mouse, with the keyboard's focus, open from the keyboard (F4, then Down).
template <ButtonState State>
void menu_button() {
    CWnd frame;
    const wchar_t* title = pick(L"Storage", L"Speicherort", L"\u4fdd\u5b58\u5148");
    const bool open = State == ButtonState::Open || State == ButtonState::KeyboardOpen;
    int height = open ? 150 : 70;
    if (!frame.CreateEx(0, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW), GetSysColorBrush(COLOR_BTNFACE)),
                        title, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 200, 240, height, nullptr, nullptr))
        return;
    CxMenuButton button;
    CFont font;
    if (!button.Create(L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, CRect(12, 8, 212, 36), &frame, 100)) return;
    CreateWndTextFont(&button, nullptr, font, nullptr, FALSE, 0);
    button.SetFont(&font);
    for (const wchar_t* item : {pick(L"Phone memory", L"Telefonspeicher", L"\u643a\u5e2f\u96fb\u8a71\u306e\u30e1\u30e2\u30ea"),
                                pick(L"Memory card", L"Speicherkarte", L"\u30e1\u30e2\u30ea \u30ab\u30fc\u30c9"),
                                pick(L"Computer", L"Computer", L"\u30b3\u30f3\u30d4\u30e5\u30fc\u30bf\u30fc")})
        button.AddString(reinterpret_cast<const unsigned short*>(item));
    button.SetCaption(pick(L"Save to ...", L"Speichern in ...", L"\u4fdd\u5b58\u5148..."));
    if (State != ButtonState::Closed) button.SetCurSel(1);
    if (State == ButtonState::Pressed) button.SendMessage(BM_SETSTATE, TRUE);
    if (State == ButtonState::Open) {
        button.SendMessage(BM_CLICK);   // opens the list below the button
        // The mouse on the first row, which the list highlights.
        CRect b;
        button.GetWindowRect(&b);
        SetCursorPos(b.left + 40, b.bottom + 8);
    }
    if (State == ButtonState::Focused || State == ButtonState::KeyboardOpen) {
        SetCursorPos(20, 20);   // away from the list
        frame.SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
        button.SetFocus();
    }
    if (State == ButtonState::KeyboardOpen) {
        button.SendMessage(WM_KEYDOWN, VK_F4);
        if (HWND list = GetFocus(); list && list != button.m_hWnd) SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    }
    run_until_closed(frame.m_hWnd);
}

template <int Mode>
void name_dialog() {
    CNameSelectDlg dlg;
    dlg.m_nMode = Mode;
    dlg.m_nMaxLen = 12;
    dlg.m_nMaxWideLen = 8;   // a handset that stores names in wide characters too
    for (const wchar_t* name : {pick(L"Holiday 2026", L"Urlaub 2026", L"\u4f11\u6687 2026"),
                                pick(L"Phone memory", L"Telefonspeicher", L"\u643a\u5e2f\u96fb\u8a71\u306e\u30e1\u30e2\u30ea"),
                                pick(L"Memory card", L"Speicherkarte", L"\u30e1\u30e2\u30ea \u30ab\u30fc\u30c9"),
                                pick(L"Computer", L"Computer", L"\u30b3\u30f3\u30d4\u30e5\u30fc\u30bf\u30fc")}) {
        dlg.m_lstNames.AddTail(name);
        dlg.m_lstFlags.AddTail(L"W");
    }
    dlg.m_bFirstIsCurrent = Mode == 5 || Mode == 2;
    dlg.DoModal();
}

// Types text into the dialog's edit box.
void type_name(HWND dialog, const wchar_t* text) {
    HWND edit = GetDlgItem(dialog, 15018);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(edit, EM_SETSEL, wcslen(text), wcslen(text));
}

void typed_name(HWND dialog) { type_name(dialog, pick(L"Holiday 2026", L"Urlaub 2026", L"\u4f11\u6687 2026")); }

// A name too long for the handset, and OK: the dialog asks whether to cut it.
void too_long_name(HWND dialog) {
    type_name(dialog, pick(L"Holiday by the sea 2026", L"Urlaub am Meer 2026",
                           L"\u6d77\u8fba\u3067\u904e\u3054\u3057\u305f\u590f\u306e\u4f11\u6687 2026"));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 250 && step_windows().size() < 2; ++i) Sleep(20);
    // The question below the name row, so that both show.
    RECT d;
    GetWindowRect(dialog, &d);
    for (HWND window : step_windows())
        if (window != dialog) SetWindowPos(window, nullptr, d.left + 40, d.top + 52, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void position_dialog() {
    CPosSelectDlg dlg;
    for (const wchar_t* pos : {L"1", L"2", L"3"}) dlg.m_lstPositions.AddTail(pos);
    dlg.DoModal();
}

struct Picture {
    const char* name;   // the file's name without its language and extension
    void (*show)();
    void (*prepare)(HWND) = nullptr;   // run by the watcher on the first window before the picture
    bool (*ready)(HWND) = nullptr;     // the picture waits for this
    HWND (*part)(HWND) = nullptr;      // the part of the window that differs from run to run
};

const Picture kPictures[] = {
    {"box_name_too_long", name_too_long_box},
    {"box_download_failed", download_failed_box},
    {"sxbox_check_box", ShotCheckBoxBox},
    {"sxbox_count_down", ShotCountDownBox},
    {"sxbox_right_buttons", ShotRightButtonsBox},
    {"sxbox_centred_text", ShotCenteredTextBox},
    {"notify_popup", ShotNotifyPopup},
    {"template_name_select", dialog_template<15021>},
    {"template_position_select", dialog_template<15007>},
    {"template_download", dialog_template<7011>},
    {"menu_button_closed", menu_button<ButtonState::Closed>},
    {"menu_button_pressed", menu_button<ButtonState::Pressed>},
    {"menu_button_open", menu_button<ButtonState::Open>},
    {"menu_button_focused", menu_button<ButtonState::Focused>},
    {"menu_button_keyboard", menu_button<ButtonState::KeyboardOpen>},
    {"name_select_mode1", name_dialog<1>, typed_name},
    {"name_select_mode2", name_dialog<2>},
    {"name_select_mode5", name_dialog<5>},
    {"name_select_question", name_dialog<1>, too_long_name},
    {"position_select", position_dialog},
    {"download_dialog", DownloadDialogMidWay, nullptr, DownloadDialogReady, DownloadDialogBar},
};

// Every picture in each language; the script runs each language under its own locale, so
// that the system's own texts (the boxes' buttons) are in that language too.
struct Language {
    const char* suffix;
    const wchar_t* name;   // loaded before its pictures
};

const Language kLanguages[] = {
    {"en", L"English"},
    {"de", L"Deutsch"},
    {"ja", L"Japanese"},
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    g_mainThread = GetCurrentThreadId();
    // The text caret stays as it is first drawn, so that a picture does not depend on its blink.
    SetCaretBlinkTime(3600 * 1000);
    const wchar_t* title = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), 0xE000, reinterpret_cast<wchar_t*>(&title), 0);
    if (n > 0) theApp.SetAppName(std::wstring(title, n).c_str());
    // The language's suffix; with a step's name after it, only that step is shown.
    const std::string suffix = argc > 1 ? ToUtf8(argv[1]) : std::string();
    const std::string only = argc > 2 ? ToUtf8(argv[2]) : std::string();
    for (const Language& in : kLanguages) {
        if (suffix != in.suffix) continue;
        use_language(g_language = in.name);
        for (const Picture& picture : kPictures) {
            const std::string name = std::string(picture.name) + "_" + in.suffix;
            if (!only.empty() && only != name) continue;
            shoot(name.c_str(), picture.show, picture.prepare, picture.ready, picture.part);
        }
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Veranox\\Quillbox\\GUI", L"Language");
    HostReply("DONE");
    return 0;
}
