// Text conversions between UTF-16, the system code page and UTF-8; URL decoding.
#include <windows.h>
#include <string.h>
#include <vector>
#include <wide_text.h>
#include "TextConvert.h"

namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return static_cast<unsigned char>(c) - 0x57;   // a-f, and anything else as if lower-case
}

} // namespace

int MBSToWCS(const char* src, unsigned short* dst, int dstLen, bool utf8) {
    if (!dst || dstLen < 1) return 0;
    dst[0] = 0;
    if (!src) return 0;
    int n = MultiByteToWideChar(utf8 ? CP_UTF8 : CP_ACP, 0, src, -1, wide(dst), dstLen);
    // A failed conversion may have written part of the text: leave the empty text.
    dst[n > 0 ? n - 1 : 0] = 0;
    return n > 0 ? n : 0;
}

int WCSToMBS(const unsigned short* src, char* dst, int dstLen, bool utf8) {
    if (!dst || dstLen < 1) return 0;
    dst[0] = 0;
    if (!src) return 0;
    int n = WideCharToMultiByte(utf8 ? CP_UTF8 : CP_ACP, 0, wide(src), -1, dst, dstLen, nullptr, nullptr);
    dst[n > 0 ? n - 1 : 0] = 0;
    return n > 0 ? n : 0;
}

int UTF8ToMBS(const char* src, char* dst, int dstLen) {
    if (!src) return 0;
    const int cap = static_cast<int>(strlen(src)) + 1;
    std::vector<unsigned short> buf(cap);
    if (MBSToWCS(src, buf.data(), cap, true) <= 0) return 0;
    return WCSToMBS(buf.data(), dst, dstLen, false);
}

int MBSToUTF8(const char* src, char* dst, int dstLen) {
    if (!src) return 0;
    const int cap = 2 * static_cast<int>(strlen(src)) + 1;
    std::vector<unsigned short> buf(cap);
    if (MBSToWCS(src, buf.data(), cap, false) <= 0) return 0;
    return WCSToMBS(buf.data(), dst, dstLen, true);
}

int url_decode(const char* src, char* dst, unsigned int dstSize) {
    if (!src || !dst || dstSize == 0) return -1;
    const int limit = static_cast<int>(dstSize - 1);
    int i = 0;
    while (i < limit && *src) {
        if (*src != '%') {
            dst[i] = *src++;
        } else {
            ++src;
            // A "%" with no digit after it leaves a 0 byte at its output position.
            unsigned char byte = 0;
            if (*src) {
                byte = static_cast<unsigned char>(hex_value(*src++) * 16);
                if (*src) byte = static_cast<unsigned char>(byte + hex_value(*src++));
            }
            dst[i] = static_cast<char>(byte);
        }
        ++i;
    }
    if (*src) return -1;   // the output filled up first
    dst[i] = 0;
    return i;
}

void RemoveChars(CString& s, const unsigned short* chars) {
    if (!chars) return;
    for (const unsigned short* c = chars; *c; ++c) s.Remove(static_cast<wchar_t>(*c));
}

void ReplaceChars(CString& s, const unsigned short* chars, unsigned short with) {
    if (!chars) return;
    for (const unsigned short* c = chars; *c; ++c) s.Replace(static_cast<wchar_t>(*c), static_cast<wchar_t>(with));
}
