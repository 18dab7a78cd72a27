// LanguageFolder: the language host with its files in a folder of its own.
#include "language_folder.h"
#include <unique_res.h>
#include <test_paths.h>

namespace {

const wchar_t* const kFiles[] = {
    L"Corelink.dll", L"BaseKitU.dll", L"MfcLiteU.dll", L"UiKitU.dll", L"NetKit.dll", L"Hintbook.dll",
    L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll", L"langhost.exe",
    L"Corelink(Deutsch).lng", L"Corelink(Japanese).lng", L"Legacy(Japanese).lng",
    L"CorelinkSkin.dll", L"Deutsch_CorelinkSkin.dll",
};

const wchar_t kGuiKey[] = L"Software\\Veranox\\Quillbox\\GUI";

void set_value(const wchar_t* key, const wchar_t* name, const wchar_t* value) {
    if (!value) {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key, name);
        return;
    }
    win32::unique_hkey k;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, k.put(), nullptr) == ERROR_SUCCESS)
        RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                       static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
}

} // namespace

LanguageFolder::LanguageFolder() : folder_(NewTempFolder(L"lang")) {
    if (folder_.empty()) return;
    ok_ = true;
    for (const wchar_t* file : kFiles) ok_ = ok_ && CopyAs(file, file);
}

LanguageFolder::~LanguageFolder() { RemoveTree(folder_); }

bool LanguageFolder::CopyAs(const wchar_t* builtFile, const wchar_t* name) const {
    return CopyFileW((BinFolder() + L"\\" + builtFile).c_str(), Path(name).c_str(), FALSE) != 0;
}

bool LanguageFolder::Write(const wchar_t* name, const std::string& bytes) const {
    win32::unique_file f(CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD done = 0;
    return f && WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
}

bool LanguageFolder::Start(HostProcess& host) const { return host.Start(Path(L"langhost.exe")); }

std::string TestLocale() {
    wchar_t value[64] = L"";
    DWORD n = GetEnvironmentVariableW(L"LC_ALL", value, 64);
    return n && n < 64 ? ToUtf8(value) : std::string();
}

void SetLanguageValue(const wchar_t* value) { set_value(kGuiKey, L"Language", value); }

void SetExePath(const wchar_t* key, const wchar_t* value) {
    if (!value) {
        RegDeleteTreeW(HKEY_CURRENT_USER, key);
        return;
    }
    set_value(key, L"ExePath", value);
}

std::string Field(const std::string& report, const std::string& name) {
    std::string key = name + "=";
    for (size_t start = 0; start <= report.size();) {
        size_t bar = report.find('|', start);
        if (bar == std::string::npos) bar = report.size();
        std::string part = report.substr(start, bar - start);
        if (part.rfind(key, 0) == 0) return part.substr(key.size());
        start = bar + 1;
    }
    return "<absent>";
}
