// namedlghost.exe: a host of the tour that runs the library's name dialog unattended. One
// command per line on standard input, one reply line on standard output:
//     name-dialog LIMIT ANSWER NAME   the name dialog (mode 1, names up to LIMIT characters):
//                                     NAME typed, OK pressed, the question answered ANSWER
//                                     (yes or no), OK pressed once more, the dialog's result
//                                     as "ok PART|PART|..."
//     quit
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <Corelink.h>
#include <host_driver.h>
#include <host_lines.h>
#include "gui_watch.h"

namespace {

CWinApp theApp;

std::string utf8(const CString& s) { return ToUtf8(std::wstring(s.GetString())); }

// The dialog's first line of text in a box, with its line break shown as " / ".
std::string one_line(const std::wstring& text) {
    std::wstring s = text;
    for (size_t at; (at = s.find(L'\n')) != std::wstring::npos;) s.replace(at, 1, L" / ");
    return ToUtf8(s);
}

std::string name_dialog(int limit, bool yes, const std::wstring& name) {
    CNameSelectDlg dlg;
    dlg.m_nMode = 1;
    dlg.m_nMaxLen = limit;
    std::string report;
    gui::Watcher watcher([&] {
        HWND h = gui::WaitForTopLevel(nullptr, L"#32770");
        if (!h) return;
        report += "the dialog \"" + ToUtf8(gui::TextOf(h)) + "\" opens; typed \"" + ToUtf8(name) + "\", OK|";
        gui::Type(GetDlgItem(h, 15018), name);
        gui::ClickId(h, IDOK);
        HWND box = gui::WaitForTopLevel(theApp.m_pszAppName, L"#32770");
        if (!box || box == h) return;
        report += "it asks: \"" + one_line(gui::MessageBoxText(box)) + "\" -- answered " + (yes ? "Yes" : "No") + "|";
        gui::ClickId(box, yes ? IDYES : IDNO);
        gui::WaitForClose(box);
        DWORD_PTR ignored;
        SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
        report += "the name box now holds \"" + ToUtf8(gui::TextOf(GetDlgItem(h, 15018))) + "\"; OK again|";
        gui::ClickId(h, IDOK);
        // Either the dialog closes, or the name is still too long and it asks again.
        HWND again = nullptr;
        gui::WaitFor([&] { return !IsWindow(h) || (again = gui::FindTopLevel(theApp.m_pszAppName, L"#32770")) != nullptr; });
        if (again) {
            report += "it asks again -- answered No, then Cancel|";
            gui::ClickId(again, IDNO);
            gui::WaitForClose(again);
            gui::ClickId(h, IDCANCEL);
            gui::WaitForClose(h);
        }
    });
    INT_PTR result = dlg.DoModal();
    if (watcher.Rescued()) report += "(the dialog had to be closed by force)|";
    report += std::string("DoModal gives ") + (result == IDOK ? "IDOK" : result == IDCANCEL ? "IDCANCEL" : "an error") +
              ", m_strName \"" + utf8(dlg.m_strName) + "\", m_nSelIndex " + std::to_string(dlg.m_nSelIndex);
    return "ok " + report;
}

// "name-dialog LIMIT yes|no NAME" (the name may hold blanks).
std::string run(const std::string& verb, const std::string& arg) {
    if (verb != "name-dialog") return "error unknown command " + verb;
    size_t a = arg.find(' '), b = a == std::string::npos ? a : arg.find(' ', a + 1);
    if (b == std::string::npos) return "error usage: name-dialog LIMIT yes|no NAME";
    return name_dialog(atoi(arg.substr(0, a).c_str()), arg.substr(a + 1, b - a - 1) == "yes", FromUtf8(arg.substr(b + 1)));
}

} // namespace

int wmain() {
    const wchar_t* title = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), 0xE000, reinterpret_cast<wchar_t*>(&title), 0);
    if (n > 0) theApp.SetAppName(std::wstring(title, n).c_str());
    return HostServe(run);
}
