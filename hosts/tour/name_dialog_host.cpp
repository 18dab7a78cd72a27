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

} // namespace

int wmain() {
    const wchar_t* title = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), 0xE000, reinterpret_cast<wchar_t*>(&title), 0);
    if (n > 0) theApp.SetAppName(std::wstring(title, n).c_str());
    HostReply("ready");
    std::string line;
    while (HostReadLine(line)) {
        if (line == "quit") {
            HostReply("ok");
            return 0;
        }
        if (line.rfind("name-dialog ", 0) == 0) {
            // LIMIT ANSWER NAME (the name may hold blanks)
            std::string rest = line.substr(12);
            size_t a = rest.find(' '), b = a == std::string::npos ? a : rest.find(' ', a + 1);
            if (b == std::string::npos) {
                HostReply("error usage: name-dialog LIMIT yes|no NAME");
                continue;
            }
            HostReply(name_dialog(atoi(rest.substr(0, a).c_str()), rest.substr(a + 1, b - a - 1) == "yes",
                                  FromUtf8(rest.substr(b + 1))));
            continue;
        }
        HostReply("error unknown command " + line);
    }
    return 0;
}
