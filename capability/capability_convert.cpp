// ME_CAPABILITY assignments: the raw-to-cooked conversion into the shared tables.
//
// The raw record's lists belong to the engine and are only read. A list pointer that is
// null while its count is positive is read as a list of zeroed entries: nothing is read
// through it, and the slots it would have filled are cleared rather than left stale.
#include <string.h>
#include <wchar.h>
#include "Capability.h"
#include "shared_tables.h"

namespace {

int bounded(int count, int bound) { return count > bound ? bound : count; }

// Copies n entries of src into dst, or clears them when src is null.
template <class T>
void copy_entries(T* dst, const T* src, int n) {
    if (n < 1) return;
    if (src) memcpy(dst, src, sizeof(T) * n);
    else memset(dst, 0, sizeof(T) * n);
}

// At most cap units up to the source's terminator; the rest of the field is zeroed.
template <size_t N>
void copy_text(unsigned short (&dst)[N], const unsigned short (&src)[N]) {
    size_t i = 0;
    for (; i < N && src[i]; ++i) dst[i] = src[i];
    for (; i < N; ++i) dst[i] = 0;
}

bool is_null_row(const FMGR_FILETYPE_CAP& row) {
    const size_t units = sizeof(row.szName) / sizeof(row.szName[0]);
    wchar_t name[units + 1] = {};
    for (size_t i = 0; i < units && row.szName[i]; ++i) name[i] = row.szName[i];
    return _wcsicmp(name, L"NULL") == 0;
}

void convert_melodies(ME_CAPABILITY& cap, const RAW_ME_CAPABILITY& raw) {
    cap.nMdyCapCount = bounded(raw.nMdyCapCount, kMdyCapSlots);
    for (int i = 0; i < cap.nMdyCapCount; ++i) {
        xMDY_CAP_INFO& melody = g_aryMdyCap[i];
        copy_entries(&melody, raw.pMdyCap ? &raw.pMdyCap[i] : nullptr, 1);
        const MDY_FORMAT_CAP* formats = melody.pFormats;   // null too when the melody was
        const int n = bounded(melody.nFormatCount, kMdyFormatSlots);
        copy_entries(g_aryMdyFormat[i], formats, n);
        for (int j = 0; j < n; ++j) {
            MDY_FORMAT_CAP& format = g_aryMdyFormat[i][j];
            if (!formats) memset(&g_aryMdyFormatInfo[i][j], 0, sizeof(MDY_FORMAT_INFO));
            else if (format.pInfo) g_aryMdyFormatInfo[i][j] = *format.pInfo;
            format.pInfo = nullptr;
        }
        melody.pFormats = nullptr;
    }
    cap.pMdyCap = nullptr;
}

void convert_file_manager(ME_CAPABILITY& cap, const RAW_ME_CAPABILITY& raw) {
    cap.pFmgrCap = nullptr;
    if (!raw.pFmgrCap) {
        g_bFmgrCap = 0;
        return;
    }
    g_bFmgrCap = 1;
    g_FmgrCap = *raw.pFmgrCap;
    // The "NULL" row ends the list and is part of it. No list at all: as for the FJ list,
    // the rows and their count stay as they were.
    if (const FMGR_FILETYPE_CAP* rows = g_FmgrCap.pFileTypes) {
        for (int i = 0; i < kFileTypeSlots; ++i) {
            g_aryFmgrFileType[i] = rows[i];
            if (is_null_row(rows[i])) {
                g_nFmgrFileTypeCount = i + 1;
                break;
            }
        }
    }
    g_FmgrCap.pFileTypes = nullptr;
}

void convert_videos(ME_CAPABILITY& cap, const RAW_ME_CAPABILITY& raw) {
    cap.nVideoCapCount = bounded(raw.nVideoCapCount, kVideoCapSlots);
    for (int i = 0; i < cap.nVideoCapCount; ++i) {
        VIDEO_CAP_INFO& video = g_aryVideoCap[i];
        copy_entries(&video, raw.pVideoCap ? &raw.pVideoCap[i] : nullptr, 1);
        const VIDEO_DIMENSION* dims = video.pDimensions;
        const int d = bounded(video.nDimensionCount, kVideoDimSlots);
        copy_entries(g_aryVideoDim[i], dims, d);
        for (int j = 0; j < d; ++j) {
            VIDEO_DIMENSION& dim = g_aryVideoDim[i][j];
            const VIDEO_QUALITY* qualities = dim.pQualities;
            copy_entries(g_aryVideoQuality[i][j], qualities, bounded(dim.nQualityCount, kVideoQualitySlots));
            dim.pQualities = nullptr;
        }
        video.pDimensions = nullptr;
    }
    cap.pVideoCap = nullptr;
}

void convert_fj(ME_CAPABILITY& cap, const RAW_ME_CAPABILITY& raw) {
    if (!raw.pFJCap) {
        cap.pFJCap = nullptr;
        return;
    }
    g_FJCap = *raw.pFJCap;
    // The "NULL" row ends the list and is neither copied nor counted.
    if (const FMGR_FILETYPE_CAP* rows = g_FJCap.pFileTypes) {
        for (int i = 0; i < kFileTypeSlots; ++i) {
            if (is_null_row(rows[i])) {
                g_nFJFileTypeCount = i;
                break;
            }
            g_aryFJFileType[i] = rows[i];
        }
    }
    g_FJCap.pFileTypes = nullptr;
    g_nFJPLCount = bounded(g_FJCap.nPLCount, kFJPLSlots);
    copy_entries(g_aryFJPLCap, g_FJCap.pPLCap, g_nFJPLCount);
    g_FJCap.pPLCap = nullptr;
    cap.pFJCap = nullptr;
}

} // namespace

ME_CAPABILITY& ME_CAPABILITY::operator=(const ME_CAPABILITY& other) {
    if (this != &other) memcpy(static_cast<ME_CAPABILITY_FIELDS*>(this), static_cast<const ME_CAPABILITY_FIELDS*>(&other), sizeof(ME_CAPABILITY_FIELDS));
    return *this;
}

ME_CAPABILITY& ME_CAPABILITY::operator=(const RAW_ME_CAPABILITY& raw) {
    // 1. Header.
    dwHead = raw.dwHead;
    copy_text(szText1, raw.szText1);
    copy_text(szText2, raw.szText2);
    copy_text(szText3, raw.szText3);
    copy_text(szText4, raw.szText4);
    copy_text(szText5, raw.szText5);
    copy_text(szText6, raw.szText6);
    memcpy(adwValue, raw.adwValue, sizeof(adwValue));
    copy_text(szText7, raw.szText7);
    copy_text(szText8, raw.szText8);

    // 2. Images.
    dwValueA = raw.dwValueA;
    dwValueB = raw.dwValueB;
    nImgCapCount = bounded(raw.nImgCapCount, kImgCapSlots);
    copy_entries(g_aryImgCap, raw.pImgCap, nImgCapCount);
    pImgCap = nullptr;

    convert_melodies(*this, raw);                               // 3.
    memcpy(adwValueC, raw.adwValueC, sizeof(adwValueC));        // 4.
    convert_file_manager(*this, raw);                           // 5.
    memcpy(adwModuleValue, raw.adwModuleValue, sizeof(adwModuleValue));   // 6.

    // 7. MMS.
    if (raw.pMMSCap) {
        g_bMMSCap = 1;
        g_MMSCap = *raw.pMMSCap;
    } else {
        g_bMMSCap = 0;
    }
    pMMSCap = nullptr;

    // 8. Calendar.
    nCalCapCount = bounded(raw.nCalCapCount, kCalCapSlots);
    copy_entries(g_aryCalCap, raw.pCalCap, nCalCapCount);
    pCalCap = nullptr;

    convert_videos(*this, raw);                                 // 9.
    convert_fj(*this, raw);                                     // 10.
    return *this;
}
