// Opens the help of the folder it runs from, with the user interface language of its first
// argument (none: the language is never set). When CORELINK_SHELL_RECORD names a file, each
// path the library hands to the shell is appended to it, one UTF-8 line, before the shell
// gets it: a help file that does not exist opens nothing, and the record still shows which
// path was asked for.
#include <Corelink.h>
#include <VXLibConfig.h>
#include <shellapi.h>
#include <cstdio>
#include <string>
#include <unique_res.h>

namespace {

decltype(&ShellExecuteW) g_shellExecute = nullptr;

HINSTANCE WINAPI RecordingShellExecute(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir, INT show) {
    wchar_t record[MAX_PATH];
    if (GetEnvironmentVariableW(L"CORELINK_SHELL_RECORD", record, MAX_PATH)) {
        std::wstring line = std::wstring(verb ? verb : L"(null)") + L" " + (file ? file : L"(null)") + L"\n";
        std::string bytes(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), nullptr, 0, nullptr, nullptr), '\0');
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), int(line.size()), &bytes[0], int(bytes.size()), nullptr, nullptr);
        win32::unique_stream out(_wfopen(record, L"ab"));
        if (out) fwrite(bytes.data(), 1, bytes.size(), out.get());
    }
    return g_shellExecute(hwnd, verb, file, params, dir, show);
}

// Points module's import of dll!name at hook; the previous target goes to *previous.
bool RedirectImport(HMODULE module, const char* dll, const char* name, void* hook, void** previous) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return false;
    for (auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0 || !imp->OriginalFirstThunk) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (lstrcmpA(reinterpret_cast<const char*>(byName->Name), name) != 0) continue;
            DWORD old = 0;
            if (!VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old)) return false;
            *previous = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD_PTR>(hook);
            VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
            return true;
        }
    }
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    void* previous = nullptr;
    if (!RedirectImport(GetModuleHandleW(L"Corelink.dll"), "shell32.dll", "ShellExecuteW",
                        reinterpret_cast<void*>(&RecordingShellExecute), &previous))
        return 4;   // the record would be silent: no answer rather than a wrong one
    g_shellExecute = reinterpret_cast<decltype(&ShellExecuteW)>(previous);
    if (argc > 1) VXLibConfig::SetLanguage(argv[1]);
    OpenHelpFile();
    return 0;
}
