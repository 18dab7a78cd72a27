// ME_CAPABILITY assignments: the raw-to-cooked conversion into the shared tables.
//
// The raw record's lists belong to the engine and are only read. A list pointer that is
// null while its count is positive is read as a list of zeroed entries: nothing is read
// through it, and the slots it would have filled are cleared rather than left stale.
#include <string.h>
#include <wchar.h>
#include "Capability.h"
#include "shared_tables.h"
#include "wide_text.h"

namespace {

int bounded(int count, int bound) { return count > bound ? bound : count; }

// Copies n entries of src into dst, or clears them when src is null.
template <class T>
void copy_entries(T* dst, const T* src, int n) {
    if (n < 1) return;
    if (src) memcpy(dst, src, sizeof(T) * n);
    else memset(dst, 0, sizeof(T) * n);
}

// The header's text fields, each copied as a fixed field.
template <class... Field>
void copy_fields(ME_CAPABILITY_FIELDS& dst, const ME_CAPABILITY_FIELDS& src, Field... field) {
    (copy_field(dst.*field, src.*field), ...);
}

bool is_null_row(const FMGR_FILETYPE_CAP& row) {
    const size_t n = field_length(row.szName);
    return n == 4 && _wcsnicmp(wide(row.szName), L"NULL", 4) == 0;
}

// Copies a file-type list into table up to its "NULL" row, which ends it. The rows before
// that row are copied; the row itself too when `keepEnd`. Returns the count of the table
// (the rows copied), or `count` as it was when no "NULL" row comes within the table's
// bound (all rows of the bound are copied then). A record without a list has no rows: 0.
template <size_t N>
int copy_file_types(FMGR_FILETYPE_CAP (&table)[N], const FMGR_FILETYPE_CAP* rows, bool keepEnd, int count) {
    if (!rows) return 0;
    for (size_t i = 0; i < N; ++i) {
        const bool end = is_null_row(rows[i]);
        if (!end || keepEnd) table[i] = rows[i];
        if (end) return static_cast<int>(keepEnd ? i + 1 : i);
    }
    return count;
}

void convert_melodies(ME_CAPABILITY& cap, const RAW_ME_CAPABILITY& raw) {
    cap.nMdyCapCount = bounded(raw.nMdyCapCount, kMdyCapSlots);
    for (int i = 0; i < cap.nMdyCapCount; ++i) {
        xMDY_CAP_INFO& melody = g_aryMdyCap[i];
        copy_entries(&melody, raw.pMdyCap ? &raw.pMdyCap[i] : nullptr, 1);
        const MDY_FORMAT_CAP* formats = melody.pFormats;   // null when the melody entry was cleared
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
    // The "NULL" row is part of the file manager's list and of its count.
    g_nFmgrFileTypeCount = copy_file_types(g_aryFmgrFileType, g_FmgrCap.pFileTypes, true, g_nFmgrFileTypeCount);
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
    // The "NULL" row of the FJ list is neither copied nor counted.
    g_nFJFileTypeCount = copy_file_types(g_aryFJFileType, g_FJCap.pFileTypes, false, g_nFJFileTypeCount);
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
    // In the order of the record: header, images, melodies, file manager, MMS, calendar,
    // videos and FJ.
    using F = ME_CAPABILITY_FIELDS;
    dwHead = raw.dwHead;
    copy_fields(*this, raw, &F::szText1, &F::szText2, &F::szText3, &F::szText4, &F::szText5, &F::szText6);
    memcpy(adwValue, raw.adwValue, sizeof(adwValue));
    copy_fields(*this, raw, &F::szText7, &F::szText8);

    dwValueA = raw.dwValueA;
    dwValueB = raw.dwValueB;
    nImgCapCount = bounded(raw.nImgCapCount, kImgCapSlots);
    copy_entries(g_aryImgCap, raw.pImgCap, nImgCapCount);
    pImgCap = nullptr;

    convert_melodies(*this, raw);
    memcpy(adwValueC, raw.adwValueC, sizeof(adwValueC));
    convert_file_manager(*this, raw);
    memcpy(adwModuleValue, raw.adwModuleValue, sizeof(adwModuleValue));

    if (raw.pMMSCap) {
        g_bMMSCap = 1;
        g_MMSCap = *raw.pMMSCap;
    } else {
        g_bMMSCap = 0;
    }
    pMMSCap = nullptr;

    nCalCapCount = bounded(raw.nCalCapCount, kCalCapSlots);
    copy_entries(g_aryCalCap, raw.pCalCap, nCalCapCount);
    pCalCap = nullptr;

    convert_videos(*this, raw);
    convert_fj(*this, raw);
    return *this;
}
