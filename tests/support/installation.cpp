// Installation: a private copy of the suite's files.
#include "installation.h"
#include <windows.h>
#include "test_paths.h"

namespace {
const wchar_t* const kFiles[] = {
    L"Corelink.dll", L"BaseKitU.dll", L"MfcLiteU.dll", L"UiKitU.dll", L"NetKit.dll",
    L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll",
    L"viewproc.exe", L"linkproc.exe", L"dockproc.exe",
};
}

Installation::Installation(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> renames)
    : folder_(NewTempFolder(L"inst")) {
    if (folder_.empty()) return;
    std::wstring bin = BinFolder();
    ok_ = true;
    for (const wchar_t* file : kFiles)
        ok_ = ok_ && CopyFileW((bin + L"\\" + file).c_str(), Path(file).c_str(), FALSE);
    for (const auto& r : renames)
        ok_ = ok_ && CopyFileW((bin + L"\\" + r.first).c_str(), Path(r.second).c_str(), FALSE);
}

Installation::~Installation() { RemoveTree(folder_); }
