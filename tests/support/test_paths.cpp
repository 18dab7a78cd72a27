// Paths the tests work with.
#include "test_paths.h"
#include <windows.h>
#include <unique_res.h>
#include <vector>

std::wstring BinFolder() {
    wchar_t exe[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, n);
    return path.substr(0, path.find_last_of(L'\\'));
}

std::wstring NewTempFolder(const wchar_t* tag) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static unsigned counter = 0;
    for (;;) {
        std::wstring folder = std::wstring(temp) + L"corelink-" + tag + L"-" +
                              std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
    }
}

void RemoveTree(const std::wstring& folder) {
    if (folder.empty()) return;
    WIN32_FIND_DATAW fd;
    win32::unique_find find(FindFirstFileW((folder + L"\\*").c_str(), &fd));
    if (find) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring path = folder + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileW(path.c_str());
        } while (FindNextFileW(find.get(), &fd));
    }
    find.reset();
    RemoveDirectoryW(folder.c_str());
}

std::string ReadFileBytes(const std::wstring& path) {
    win32::unique_file file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
    if (!file) return std::string();
    std::string out;
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buf, sizeof(buf), &got, nullptr) && got) out.append(buf, got);
    return out;
}
