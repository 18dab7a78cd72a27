// A folder of its own with the suite's modules, the language host, the language and skin
// files, a chosen "Language.def", and a language host started in it under a chosen locale.
#pragma once
#include <windows.h>
#include <string>
#include <host_driver.h>

class LanguageFolder {
public:
    LanguageFolder();
    ~LanguageFolder();   // removes the folder (the host must have ended)
    LanguageFolder(const LanguageFolder&) = delete;
    LanguageFolder& operator=(const LanguageFolder&) = delete;

    bool Ok() const { return ok_; }
    std::wstring Path(const wchar_t* file) const { return folder_ + L"\\" + file; }
    // A copy of a built file of bin under another name in this folder.
    bool CopyAs(const wchar_t* builtFile, const wchar_t* name) const;
    // Writes a file of this folder with the given bytes.
    bool Write(const wchar_t* name, const std::string& bytes) const;
    // Starts the language host here; it runs under this process's locale.
    bool Start(HostProcess& host) const;

private:
    std::wstring folder_;
    bool ok_ = false;
};

// The LC_ALL this test program was started with (empty: none). Wine takes a process's
// locale from it, and a Wine process started by this one inherits it.
std::string TestLocale();
// The user-interface language value of the suite's registry key: set, or removed (null).
void SetLanguageValue(const wchar_t* value);
// HKEY_CURRENT_USER\key, value "ExePath": set, or the key removed (null).
void SetExePath(const wchar_t* key, const wchar_t* value);
// The fields of a "a=1|b=2" report.
std::string Field(const std::string& report, const std::string& name);
