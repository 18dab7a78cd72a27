// A copy of the suite in a folder of its own: the library, its stand-ins and the test hosts.
// Each copy has its own library file, hence its own shared block and existence mutex.
#pragma once
#include <initializer_list>
#include <string>

class Installation {
public:
    // Copies the modules and the hosts; `renames` gives extra copies of a host under
    // other names, as {"viewproc.exe", "ViewProc.EXE"}.
    explicit Installation(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> renames = {});
    ~Installation();   // removes the folder (the hosts must have ended)
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    const std::wstring& Folder() const { return folder_; }
    std::wstring Path(const wchar_t* file) const { return folder_ + L"\\" + file; }
    bool Ok() const { return ok_; }

private:
    std::wstring folder_;
    bool ok_ = false;
};
