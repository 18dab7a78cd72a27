// UTF-8 conversions of the catalogue, and AppDB's static text helpers.
#include <windows.h>
#include <vector>
#include "AppDB.h"
#include "sql_text.h"
#include "utf8_text.h"

namespace {

// UTF-8 of a NUL-terminated wide text: the bytes up to the NUL, empty on failure. Plain
// ASCII, the catalogue's usual keys and values, is copied without a conversion call.
std::string utf8_of(const wchar_t* text) {
    size_t n = 0;
    wchar_t any = 0;
    for (; text[n]; ++n) any |= text[n];
    if (any < 0x80) {
        std::string out(n, '\0');
        for (size_t i = 0; i < n; ++i) out[i] = static_cast<char>(text[i]);
        return out;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], bytes, nullptr, nullptr) <= 0) return std::string();
    out.resize(static_cast<size_t>(bytes) - 1);
    return out;
}

} // namespace

// ASCII is widened in place; anything else goes through the system's conversion.
CString UTF8ToCString(const char* utf8) {
    if (!utf8) return CString();
    size_t n = 0;
    unsigned char any = 0;
    for (; utf8[n]; ++n) any |= static_cast<unsigned char>(utf8[n]);
    CString out;
    if (any < 0x80) {
        if (n == 0) return out;
        wchar_t* buf = out.GetBufferSetLength(static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) buf[i] = static_cast<wchar_t>(utf8[i]);
        out.ReleaseBuffer(static_cast<int>(n));
        return out;
    }
    int units = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (units <= 0) return CString();
    wchar_t* buf = out.GetBufferSetLength(units - 1);
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, buf, units) <= 0) return CString();
    out.ReleaseBuffer(units - 1);
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
