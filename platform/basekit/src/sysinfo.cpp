// Windows version tests, system language and VERSIONINFO numbers.
#include "SysInfo.h"
#include <stdio.h>
#include <vector>

namespace {

struct OsVersion {
    DWORD major, minor, platform;
};

OsVersion os_version() {
    static const OsVersion v = [] {
        OSVERSIONINFOW vi{};
        vi.dwOSVersionInfoSize = sizeof(vi);
        GetVersionExW(&vi);
        return OsVersion{vi.dwMajorVersion, vi.dwMinorVersion, vi.dwPlatformId};
    }();
    return v;
}

bool is_9x(DWORD minor) { return os_version().platform == VER_PLATFORM_WIN32_WINDOWS && os_version().minor == minor; }
bool is_nt(DWORD major, DWORD minor) {
    OsVersion v = os_version();
    return v.platform == VER_PLATFORM_WIN32_NT && v.major == major && v.minor == minor;
}

} // namespace

BOOL IsWin95() { return is_9x(0); }
BOOL IsWin98() { return is_9x(10); }
BOOL IsWinME() { return is_9x(90); }
BOOL IsWinNT40() { return is_nt(4, 0); }
BOOL IsWin2000() { return is_nt(5, 0); }
BOOL IsWinXP() { return is_nt(5, 1) || is_nt(5, 2); }
BOOL IsWinVista() { return is_nt(6, 0); }
BOOL IsWin7() {
    OsVersion v = os_version();
    return v.platform == VER_PLATFORM_WIN32_NT && (v.major > 6 || (v.major == 6 && v.minor >= 1));
}

const wchar_t* GetCurOSLangSTR() {
    static const std::vector<wchar_t> text = [] {
        wchar_t name[128] = L"?";
        LANGID id = GetSystemDefaultLangID();
        GetLocaleInfoW(MAKELCID(id, SORT_DEFAULT), LOCALE_SENGLANGUAGE, name, 128);
        wchar_t country[128] = L"";
        GetLocaleInfoW(MAKELCID(id, SORT_DEFAULT), LOCALE_SENGCOUNTRY, country, 128);
        wchar_t buf[300];
        swprintf(buf, 300, country[0] ? L"%s (%s) [%04X]" : L"%s%s [%04X]", name, country, id);
        return std::vector<wchar_t>(buf, buf + wcslen(buf) + 1);
    }();
    return text.data();
}

BOOL GetVersionFromResource(int kind, const wchar_t* file, int& a, int& b, int& c, int& d) {
    if (!file || (kind != 1 && kind != 2)) return FALSE;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (!size) return FALSE;
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(file, 0, size, block.data())) return FALSE;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &len) || !info || len < sizeof(*info))
        return FALSE;
    DWORD ms = kind == 1 ? info->dwProductVersionMS : info->dwFileVersionMS;
    DWORD ls = kind == 1 ? info->dwProductVersionLS : info->dwFileVersionLS;
    a = HIWORD(ms);
    b = LOWORD(ms);
    c = HIWORD(ls);
    d = LOWORD(ls);
    return TRUE;
}
