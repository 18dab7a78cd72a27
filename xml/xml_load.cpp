// Loading an XML file, and the reader's text utilities. Out of memory fails them by their
// result: false, or a null text.
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <string>
#include <vector>
#include <unique_res.h>
#include "TextConvert.h"
#include "xml_nodes.h"

bool CXMLDoc::LoadFile(const unsigned short* path) try {
    if (!path) return false;
    std::vector<unsigned char> bytes;
    long size = -1;
    {
        win32::unique_stream f(_wfopen(reinterpret_cast<const wchar_t*>(path), L"rb"));
        if (!f) return false;
        if (fseek(f.get(), 0, SEEK_END) == 0) size = ftell(f.get());
        if (size >= 0 && fseek(f.get(), 0, SEEK_SET) == 0) {
            bytes.resize(static_cast<size_t>(size) + 2, 0);   // two zero bytes after the content
            size = static_cast<long>(fread(bytes.data(), 1, static_cast<size_t>(size), f.get()));
        }
    }
    if (size < 4) return false;

    std::vector<unsigned short> text;
    if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
        // UTF-16 little-endian as it stands, up to the first zero unit or the end.
        for (long i = 2; i + 1 < size + 2; i += 2) {
            unsigned short unit = static_cast<unsigned short>(bytes[i] | (bytes[i + 1] << 8));
            if (!unit) break;
            text.push_back(unit);
        }
        text.push_back(0);
    } else if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
        text.push_back(0);   // big-endian UTF-16 is not read: an empty text
    } else {
        const size_t skip = (bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) ? 3 : 0;
        text.assign(static_cast<size_t>(size) + 2, 0);
        MBSToWCS(reinterpret_cast<const char*>(bytes.data() + skip), text.data(), size + 1, true);
    }
    return Parsing(text.data());
} catch (...) {
    return false;
}

unsigned short* CXMLDoc::_alloc_buf(const unsigned short* text, int length) try {
    if (!text) return nullptr;
    size_t n = wcslen(reinterpret_cast<const wchar_t*>(text));
    if (length >= 0 && static_cast<size_t>(length) < n) n = static_cast<size_t>(length);
    return xmltext::make(text, n);
} catch (...) {
    return nullptr;
}

unsigned short* CXMLDoc::_alloc_find(const unsigned short* text, const unsigned short* open,
                                     const unsigned short* close, const unsigned short** next) try {
    if (!text || !open || !close) return nullptr;
    auto w = [](const unsigned short* s) { return reinterpret_cast<const wchar_t*>(s); };
    const wchar_t* a = wcsstr(w(text), w(open));
    if (!a) return nullptr;
    a += wcslen(w(open));
    const wchar_t* b = wcsstr(a, w(close));
    if (!b) return nullptr;
    unsigned short* found = xmltext::make(a, static_cast<size_t>(b - a));
    if (next) *next = reinterpret_cast<const unsigned short*>(b + wcslen(w(close)));
    return found;
} catch (...) {
    return nullptr;   // next unchanged
}

unsigned short* CXMLDoc::_alloc_end_tag(const unsigned short* name) try {
    if (!name) return nullptr;
    std::wstring tag = L"</" + std::wstring(reinterpret_cast<const wchar_t*>(name)) + L">";
    return xmltext::make(tag.c_str(), tag.size());
} catch (...) {
    return nullptr;
}

void CXMLDoc::_free_buf(unsigned short* text) { xmltext::release(text); }
