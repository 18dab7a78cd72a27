// UTF-8 conversions of the catalogue, and AppDB's static text helpers.
#include <windows.h>
#include <vector>
#include "AppDB.h"
#include "sql_text.h"
#include "utf8_text.h"

namespace {

// UTF-8 of a NUL-terminated wide text: the bytes up to the NUL, empty on failure.
std::string utf8_of(const wchar_t* text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return std::string();
    std::vector<char> buf(n);
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, buf.data(), n, nullptr, nullptr) <= 0) return std::string();
    return std::string(buf.data());
}

} // namespace

CString UTF8ToCString(const char* utf8) {
    if (!utf8) return CString();
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (n <= 0) return CString();
    CString out;
    wchar_t* buf = out.GetBufferSetLength(n - 1);
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buf, n) <= 0) return CString();
    out.ReleaseBuffer(n - 1);
    return out;
}

std::string ToUtf8(const CString& text) { return utf8_of(text.GetString()); }

std::string AppDB::ToUTF8(const char* text) {
    if (!text) return std::string();
    int n = MultiByteToWideChar(CP_OEMCP, 0, text, -1, nullptr, 0);
    if (n <= 0) return std::string();
    std::vector<wchar_t> buf(n);
    if (MultiByteToWideChar(CP_OEMCP, 0, text, -1, buf.data(), n) <= 0) return std::string();
    return utf8_of(buf.data());
}

std::string AppDB::ToUTF8(const unsigned short* text) {
    return text ? utf8_of(reinterpret_cast<const wchar_t*>(text)) : std::string();
}

std::string AppDB::Format(char* fmt, ...) {
    std::string out;
    va_list args;
    va_start(args, fmt);
    if (!SqlFormatV(out, fmt, args)) out.clear();
    va_end(args);
    return out;
}
