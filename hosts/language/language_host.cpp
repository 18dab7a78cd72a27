// langhost.exe: a host that loads the library and its language and skin resources on
// command, for the language tests and the tour. It carries the built-in English resources
// and answers one line per command:
//
//   language-load BASE   _LoadLanguageResource(BASE): "ok file=F|language=L|charset=N|font=N|app=A"
//   skin-load BASE       _LoadSkinResource(BASE): "ok F WxH" (F the file loaded, "none" when
//                        nothing loaded; W, H of its bitmap 30500)
//   registry-load ROOT|NAME   LoadDLLFmRegistryDefine: "ok F"
//   string ID            the string of the current resource source: "ok TEXT" (line breaks
//                        written as \\n and \\r)
//   dialog ID            dialog template ID from the resource chain, created hidden:
//                        "ok CAPTION|ID=TEXT|..." for its controls
//   app | locale (the user locale's language identifier) | folder (the current folder) | quit
// BASE "<null>" passes a null name. Texts are UTF-8. It says "ready" once loaded.
#include <windows.h>
#include <stdlib.h>
#include <string>
#include <Corelink.h>
#include <VXLibConfig.h>
#include <afxwin.h>
#include <host_driver.h>
#include <host_lines.h>

namespace {

CWinApp theApp;

std::string utf8(const wchar_t* text) { return text ? ToUtf8(text) : std::string(); }

// Line breaks of a reply text as the two characters "\\n" and "\\r".
std::string one_line(const std::wstring& text) {
    std::string out;
    for (char c : ToUtf8(text)) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else out += c;
    }
    return out;
}

// "<null>" is a null name, anything else the UTF-8 text.
struct NameArg {
    explicit NameArg(const std::string& arg) : isNull(arg == "<null>"), text(FromUtf8(arg)) {}
    const unsigned short* get() const {
        return isNull ? nullptr : reinterpret_cast<const unsigned short*>(text.c_str());
    }
    bool isNull;
    std::wstring text;
};

std::string module_file(HMODULE module) {
    if (!module) return "none";
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(module, path, MAX_PATH);
    std::wstring p(path);
    return ToUtf8(p.substr(p.find_last_of(L"\\/") + 1));
}

std::string window_text(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return ToUtf8(text);
}

INT_PTR CALLBACK quiet_dialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string show_dialog(int id) {
    HINSTANCE source = AfxFindResourceHandle(MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!source) return "fail no template";
    HWND dialog = CreateDialogParamW(source, MAKEINTRESOURCEW(id), nullptr, quiet_dialog, 0);
    if (!dialog) return "fail " + std::to_string(GetLastError());
    std::string out = "ok " + window_text(dialog);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        out += "|" + std::to_string(GetDlgCtrlID(child)) + "=" + window_text(child);
    DestroyWindow(dialog);
    return out;
}

std::string run(const std::string& verb, const std::string& arg) {
    if (verb == "language-load") {
        HINSTANCE file = _LoadLanguageResource(NameArg(arg).get(), 0, 0);
        return "ok file=" + module_file(file) + "|language=" + utf8(VXLibConfig::GetUILanguage()) +
               "|charset=" + std::to_string(VXLibConfig::GetCharset()) +
               "|font=" + std::to_string(g_UIFontHeightMinus) + "|app=" + utf8(theApp.m_pszAppName);
    }
    if (verb == "skin-load") {
        HINSTANCE skin = _LoadSkinResource(NameArg(arg).get(), 0, 0);
        std::string out = "ok " + module_file(skin);
        BITMAP info{};
        if (HBITMAP bitmap = skin ? LoadBitmapW(skin, MAKEINTRESOURCEW(30500)) : nullptr) {
            GetObjectW(bitmap, sizeof(info), &info);
            DeleteObject(bitmap);
            out += " " + std::to_string(info.bmWidth) + "x" + std::to_string(info.bmHeight);
        }
        return out;
    }
    if (verb == "registry-load") {
        size_t bar = arg.find('|');
        NameArg root(arg.substr(0, bar));
        NameArg name(bar == std::string::npos ? "<null>" : arg.substr(bar + 1));
        return "ok " + module_file(LoadDLLFmRegistryDefine(root.get(), name.get()));
    }
    if (verb == "string") {
        const wchar_t* text = nullptr;
        int n = LoadStringW(AfxGetResourceHandle(), static_cast<UINT>(strtoul(arg.c_str(), nullptr, 0)),
                            reinterpret_cast<wchar_t*>(&text), 0);
        return n > 0 ? "ok " + one_line(std::wstring(text, n)) : "fail no string";
    }
    if (verb == "dialog") return show_dialog(atoi(arg.c_str()));
    if (verb == "app") return "ok " + utf8(theApp.m_pszAppName);
    if (verb == "locale") {
        wchar_t id[16] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_ILANGUAGE, id, 16);
        return "ok " + ToUtf8(id);
    }
    if (verb == "folder") {
        wchar_t folder[MAX_PATH] = L"";
        GetCurrentDirectoryW(MAX_PATH, folder);
        return "ok " + ToUtf8(folder);
    }
    return "error unknown command " + verb;
}

} // namespace

int wmain() {
    // Like an MFC program, the application's name starts as its built-in title.
    const wchar_t* title = nullptr;
    int n = LoadStringW(GetModuleHandleW(nullptr), 0xE000, reinterpret_cast<wchar_t*>(&title), 0);
    if (n > 0) theApp.SetAppName(std::wstring(title, n).c_str());
    return HostServe(run);
}
