// Melody capability queries over the shared format tables.
#include <string.h>
#include <initializer_list>
#include "MelodyCapability.h"
#include "shared_tables.h"

namespace {

// The format entries of one melody: slots [0, count) of its row of the tables.
struct Formats {
    const MDY_FORMAT_CAP* caps = nullptr;
    const MDY_FORMAT_INFO* infos = nullptr;
    int count = 0;
    bool found = false;      // false: empty argument or type in no slot

    unsigned long format(int j) const { return infos[j].dwFormat; }
};

Formats formats_of(const xMDY_CAP_INFO& mdy) {
    Formats f;
    if (mdy.nFormatCount < 1) return f;
    for (int i = 0; i < kMdyCapSlots; ++i) {
        if (g_aryMdyCap[i].nType != mdy.nType) continue;
        f.caps = g_aryMdyFormat[i];
        f.infos = g_aryMdyFormatInfo[i];
        f.count = mdy.nFormatCount < kMdyFormatSlots ? mdy.nFormatCount : kMdyFormatSlots;
        f.found = true;
        break;
    }
    return f;
}

bool is_one_of(unsigned long v, std::initializer_list<unsigned long> set) {
    for (unsigned long x : set)
        if (v == x) return true;
    return false;
}

// Views of the format data, by offset from the start of MDY_FORMAT_INFO.
template <class T>
T view(const MDY_FORMAT_INFO& info, size_t offset) {
    T v;
    memcpy(&v, reinterpret_cast<const unsigned char*>(&info) + offset, sizeof(T));
    return v;
}

// The first entry that shares a bit with formats, or -1.
int first_match(const Formats& f, int formats) {
    for (int j = 0; j < f.count; ++j)
        if (f.format(j) & static_cast<unsigned long>(formats)) return j;
    return -1;
}

// The first entry that shares a bit with formats and whose format is in `listed`, or -1.
int first_listed_match(const Formats& f, int formats, std::initializer_list<unsigned long> listed) {
    for (int j = 0; j < f.count; ++j)
        if ((f.format(j) & static_cast<unsigned long>(formats)) && is_one_of(f.format(j), listed)) return j;
    return -1;
}

unsigned long or_of(const Formats& f, std::initializer_list<unsigned long> listed) {
    unsigned long out = 0;
    for (int j = 0; j < f.count; ++j)
        if (is_one_of(f.format(j), listed)) out |= f.format(j);
    return out;
}

bool any_of(const Formats& f, std::initializer_list<unsigned long> listed) {
    for (int j = 0; j < f.count; ++j)
        if (is_one_of(f.format(j), listed)) return true;
    return false;
}

// How many bytes of format data GetMdyFileFmtCap hands out.
int file_fmt_bytes(unsigned long format, int size) {
    if (is_one_of(format, {1, 2, 4})) return 12;
    if (is_one_of(format, {8, 16, 24})) return 16;
    if (is_one_of(format, {32, 64, 16480})) return 20;
    if (format == 128 && size == 40) return 40;
    if (format == MDY_FMT_16777216) return 2;
    return 8;
}

} // namespace

int GetMaxNameCLen(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    return f.found ? f.caps[0].nMaxNameCLen : 0;
}

int GetMaxNameWLen(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    return f.found ? f.caps[0].nMaxNameWLen : 0;
}

int GetMaxMelodys(xMDY_CAP_INFO& mdy) { return mdy.nMaxMelodys; }

unsigned long GetSupportFmt(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    unsigned long out = 0;
    for (int j = 0; j < f.count; ++j) out |= f.format(j);
    return out;
}

unsigned long GetSupPolyFmt(xMDY_CAP_INFO& mdy) {
    return or_of(formats_of(mdy), {8, 16, 32, 64, 128, 256, 16384, 32768});
}

unsigned long GetSupSingleFmt(xMDY_CAP_INFO& mdy) {
    return or_of(formats_of(mdy), {1, 2, 4, 6, MDY_FMT_16777216});
}

int IsSupportPoly(xMDY_CAP_INFO& mdy) {
    return any_of(formats_of(mdy), {8, 16, 32, 64, 128, 256, 8192, 16384, 32768}) ? 1 : 0;
}

int IsSupportSingle(xMDY_CAP_INFO& mdy) { return any_of(formats_of(mdy), {1, 2, 4}) ? 1 : 0; }

unsigned long GetSpecEffCap(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    for (int j = 0; j < f.count; ++j)
        if (f.format(j) & MDY_FMT_16480) return static_cast<unsigned long>(view<int>(f.infos[j], 20));
    return 0;
}

int GetULTrkLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_listed_match(f, formats, {8, 16, 24, 32, 64, 16384, 16480});
    return j < 0 ? -1 : view<short>(f.infos[j], 8);
}

unsigned long GetULNoteCntLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0 || !is_one_of(f.format(j), {1, 2, 4})) return 0;
    return static_cast<unsigned long>(view<int>(f.infos[j], 12));
}

unsigned long GetULSizeLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_listed_match(f, formats, {8, 16, 24, 32, 64, 128, 256, 8192, 16384, 16480, 32768});
    return j < 0 ? 0 : f.caps[j].dwSizeLimit;
}

int GetULStrLenLimit(xMDY_CAP_INFO& mdy, int formats) {
    if (mdy.nFormatCount < 1) return 0;
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0) return -1;
    if (f.format(j) == 1) return view<short>(f.infos[j], 8);
    if (f.format(j) == MDY_FMT_16777216) return view<short>(f.infos[j], 4);
    return -1;
}

int IsULCapTypeEnable(xMDY_CAP_INFO& mdy, int formats, int types) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0 || !is_one_of(f.format(j), {1, 2, 4, 8, 16, 24, 32, 64, 128, 256, 8192, 16384, 16480, 32768,
                                          MDY_FMT_16777216}))
        return 0;
    return (view<unsigned long>(f.infos[j], 4) & static_cast<unsigned long>(types)) ? 1 : 0;
}

int GetMdyAllSupportFormat(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    int out = 0;
    for (int j = 0; j < f.count; ++j) {
        unsigned long v = f.format(j);
        if (is_one_of(v, {1, 2, 4, 6, 8, 16, MDY_FMT_16777216})) out |= 0x618;
        else if (is_one_of(v, {32, 64, 16384})) out |= 0x5FF8;
        else if (is_one_of(v, {128, 256})) out |= 0x1980;
        else if (v == 8192) out |= 0x2000;
        else if (v == 32768) out |= 0x8000;
    }
    return out;
}

CString GetMdyExtensionName(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0) return CString();
    const unsigned short* ext = f.caps[j].szExt;
    const int units = sizeof(f.caps[j].szExt) / sizeof(ext[0]);
    int n = 0;
    while (n < units && ext[n]) ++n;   // a full field has no terminator
    return CString(reinterpret_cast<const wchar_t*>(ext), n);
}

int GetMdyFileFmtCap(xMDY_CAP_INFO& mdy, int format, void* out, int size) {
    if (!out || size < 1) return 0;
    Formats f = formats_of(mdy);
    for (int j = 0; j < f.count; ++j) {
        if (f.format(j) != static_cast<unsigned long>(format)) continue;
        int n = file_fmt_bytes(f.format(j), size);
        memcpy(out, reinterpret_cast<const unsigned char*>(&f.infos[j]) + 4, n < size ? n : size);
        return 1;
    }
    return 0;
}
