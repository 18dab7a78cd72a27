// Melody capability queries over the shared format tables.
#include <string.h>
#include <initializer_list>
#include "MelodyCapability.h"
#include "shared_tables.h"
#include "wide_text.h"

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

// Sets of format flags, as the queries name them.
using FormatSet = std::initializer_list<unsigned long>;
const FormatSet kSingleFormats = {MDY_FMT_1, MDY_FMT_2, MDY_FMT_4};
const FormatSet kSingleFormatsAll = {MDY_FMT_1, MDY_FMT_2, MDY_FMT_4, MDY_FMT_6, MDY_FMT_16777216};   // combined and 16777216 too
const FormatSet kPolyFormats = {MDY_FMT_8,   MDY_FMT_16,    MDY_FMT_32,   MDY_FMT_64,
                                MDY_FMT_128, MDY_FMT_256,   MDY_FMT_16384, MDY_FMT_32768};
const FormatSet kPolyFormatsAll = {MDY_FMT_8,   MDY_FMT_16,   MDY_FMT_32,   MDY_FMT_64,    MDY_FMT_128,
                                   MDY_FMT_256, MDY_FMT_8192, MDY_FMT_16384, MDY_FMT_32768};   // 8192 too
const FormatSet kTrackLimitFormats = {MDY_FMT_8,  MDY_FMT_16,    MDY_FMT_24,   MDY_FMT_32,
                                      MDY_FMT_64, MDY_FMT_16384, MDY_FMT_16480};
const FormatSet kSizeLimitFormats = {MDY_FMT_8,   MDY_FMT_16,  MDY_FMT_24,    MDY_FMT_32,    MDY_FMT_64,   MDY_FMT_128,
                                     MDY_FMT_256, MDY_FMT_8192, MDY_FMT_16384, MDY_FMT_16480, MDY_FMT_32768};
const FormatSet kCapTypeFormats = {MDY_FMT_1,   MDY_FMT_2,    MDY_FMT_4,     MDY_FMT_8,     MDY_FMT_16,
                                   MDY_FMT_24,  MDY_FMT_32,   MDY_FMT_64,    MDY_FMT_128,   MDY_FMT_256,
                                   MDY_FMT_8192, MDY_FMT_16384, MDY_FMT_16480, MDY_FMT_32768, MDY_FMT_16777216};
// The bits of the special-effect formats (32, 64 and 16384).
const unsigned long kSpecialEffectBits = MDY_FMT_16480;

bool is_one_of(unsigned long v, FormatSet set) {
    for (unsigned long x : set)
        if (v == x) return true;
    return false;
}

// Places in MDY_FORMAT_INFO (offsets from its start) of the values the queries read.
enum FormatDataAt : size_t {
    kFormatDataAt = 4,       // the format data handed out by GetMdyFileFmtCap
    kCapTypesAt = 4,         // 32-bit upload capability type flags
    kLongStrLenAt = 4,       // 16-bit string length limit of format 16777216
    kTrackLimitAt = 8,       // 16-bit track limit
    kStrLenAt = 8,           // 16-bit string length limit of format 1
    kNoteCountAt = 12,       // 32-bit note count limit
    kSpecialEffectAt = 20,   // 32-bit special-effect capability
};

// Views of the format data.
template <class T>
T view(const MDY_FORMAT_INFO& info, FormatDataAt offset) {
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
int first_listed_match(const Formats& f, int formats, FormatSet listed) {
    for (int j = 0; j < f.count; ++j)
        if ((f.format(j) & static_cast<unsigned long>(formats)) && is_one_of(f.format(j), listed)) return j;
    return -1;
}

unsigned long or_of(const Formats& f, FormatSet listed) {
    unsigned long out = 0;
    for (int j = 0; j < f.count; ++j)
        if (is_one_of(f.format(j), listed)) out |= f.format(j);
    return out;
}

bool any_of(const Formats& f, FormatSet listed) {
    for (int j = 0; j < f.count; ++j)
        if (is_one_of(f.format(j), listed)) return true;
    return false;
}

// How many bytes of format data GetMdyFileFmtCap hands out.
int file_fmt_bytes(unsigned long format, int size) {
    if (is_one_of(format, kSingleFormats)) return 12;
    if (is_one_of(format, {MDY_FMT_8, MDY_FMT_16, MDY_FMT_24})) return 16;
    if (is_one_of(format, {MDY_FMT_32, MDY_FMT_64, MDY_FMT_16480})) return 20;
    if (format == MDY_FMT_128 && size == 40) return 40;
    if (format == MDY_FMT_16777216) return 2;
    return 8;
}

// Bits that GetMdyAllSupportFormat adds for an entry's format; 0 for a format it does not
// list (24 and 16480 among them).
int all_support_bits(unsigned long format) {
    if (is_one_of(format, {MDY_FMT_1, MDY_FMT_2, MDY_FMT_4, MDY_FMT_6, MDY_FMT_8, MDY_FMT_16, MDY_FMT_16777216})) return 0x618;
    if (is_one_of(format, {MDY_FMT_32, MDY_FMT_64, MDY_FMT_16384})) return 0x5FF8;
    if (is_one_of(format, {MDY_FMT_128, MDY_FMT_256})) return 0x1980;
    if (format == MDY_FMT_8192) return 0x2000;
    if (format == MDY_FMT_32768) return 0x8000;
    return 0;
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
    return or_of(formats_of(mdy), kPolyFormats);
}

unsigned long GetSupSingleFmt(xMDY_CAP_INFO& mdy) {
    return or_of(formats_of(mdy), kSingleFormatsAll);
}

int IsSupportPoly(xMDY_CAP_INFO& mdy) {
    return any_of(formats_of(mdy), kPolyFormatsAll) ? 1 : 0;
}

int IsSupportSingle(xMDY_CAP_INFO& mdy) { return any_of(formats_of(mdy), kSingleFormats) ? 1 : 0; }

unsigned long GetSpecEffCap(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    for (int j = 0; j < f.count; ++j)
        if (f.format(j) & kSpecialEffectBits) return static_cast<unsigned long>(view<int>(f.infos[j], kSpecialEffectAt));
    return 0;
}

int GetULTrkLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_listed_match(f, formats, kTrackLimitFormats);
    return j < 0 ? -1 : view<short>(f.infos[j], kTrackLimitAt);
}

unsigned long GetULNoteCntLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0 || !is_one_of(f.format(j), kSingleFormats)) return 0;
    return static_cast<unsigned long>(view<int>(f.infos[j], kNoteCountAt));
}

unsigned long GetULSizeLimit(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_listed_match(f, formats, kSizeLimitFormats);
    return j < 0 ? 0 : f.caps[j].dwSizeLimit;
}

int GetULStrLenLimit(xMDY_CAP_INFO& mdy, int formats) {
    if (mdy.nFormatCount < 1) return 0;
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0) return -1;
    if (f.format(j) == MDY_FMT_1) return view<short>(f.infos[j], kStrLenAt);
    if (f.format(j) == MDY_FMT_16777216) return view<short>(f.infos[j], kLongStrLenAt);
    return -1;
}

int IsULCapTypeEnable(xMDY_CAP_INFO& mdy, int formats, int types) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0 || !is_one_of(f.format(j), kCapTypeFormats)) return 0;
    return (view<unsigned long>(f.infos[j], kCapTypesAt) & static_cast<unsigned long>(types)) ? 1 : 0;
}

int GetMdyAllSupportFormat(xMDY_CAP_INFO& mdy) {
    Formats f = formats_of(mdy);
    int out = 0;
    for (int j = 0; j < f.count; ++j) out |= all_support_bits(f.format(j));
    return out;
}

CString GetMdyExtensionName(xMDY_CAP_INFO& mdy, int formats) {
    Formats f = formats_of(mdy);
    int j = first_match(f, formats);
    if (j < 0) return CString();
    const auto& ext = f.caps[j].szExt;   // a full field has no terminator
    return CString(wide(ext), static_cast<int>(field_length(ext)));
}

int GetMdyFileFmtCap(xMDY_CAP_INFO& mdy, int format, void* out, int size) {
    if (!out || size < 1) return 0;
    Formats f = formats_of(mdy);
    for (int j = 0; j < f.count; ++j) {
        if (f.format(j) != static_cast<unsigned long>(format)) continue;
        int n = file_fmt_bytes(f.format(j), size);
        memcpy(out, reinterpret_cast<const unsigned char*>(&f.infos[j]) + kFormatDataAt, n < size ? n : size);
        return 1;
    }
    return 0;
}
