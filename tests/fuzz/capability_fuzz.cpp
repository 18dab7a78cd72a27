// The conversion of the engine's raw capability record into the shared tables, from an
// arbitrary record whose pointers lead into lists the fuzzer owns, then the accessors and
// melody queries over what was converted.
#include <stdint.h>
#include <string.h>
#include <memory>
#include <vector>
#include "Capability.h"
#include "MelodyCapability.h"
#include "SharedState.h"

namespace {
// Takes bytes from the input; every list is its own heap block of exactly its entries, so
// that a read past a list is an overflow the sanitizer reports.
struct Input {
    const uint8_t* d; size_t n;
    std::vector<std::unique_ptr<uint8_t[]>> blocks;
    uint8_t byte() { if (!n) return 0; --n; return *d++; }
    template <class T> T* list(size_t count) {
        blocks.emplace_back(new uint8_t[count * sizeof(T) + 1]());
        uint8_t* b = blocks.back().get();
        size_t take = count * sizeof(T) < n ? count * sizeof(T) : n;
        memcpy(b, d, take); d += take; n -= take;
        return reinterpret_cast<T*>(b);
    }
    // A pointer field: null, or a list of `count` entries (the count the record claims).
    template <class T> void place(T*& p, int count) {
        p = (byte() & 1) && count > 0 ? list<T>(static_cast<size_t>(count > 64 ? 64 : count)) : nullptr;
    }
    void file_types(FMGR_FILETYPE_CAP*& p) {   // the list ends in its "NULL" row, as the engine makes it
        if (!(byte() & 1)) { p = nullptr; return; }
        size_t rows = 1 + byte() % 50;
        p = list<FMGR_FILETYPE_CAP>(rows);
        memset(p[rows - 1].szName, 0, sizeof p[rows - 1].szName);
        const char* null = byte() & 1 ? "NULL" : "null";
        for (int i = 0; i < 4; ++i) p[rows - 1].szName[i] = null[i];
    }
};
}
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* d, size_t n) {
    if (n < sizeof(RAW_ME_CAPABILITY)) return 0;
    RAW_ME_CAPABILITY raw;
    memcpy(&raw, d, sizeof raw);
    Input in{d + sizeof raw, n - sizeof raw, {}};
    in.place(raw.pImgCap, raw.nImgCapCount);
    in.place(raw.pMdyCap, raw.nMdyCapCount);
    for (int i = 0; raw.pMdyCap && i < raw.nMdyCapCount && i < 64; ++i) {
        xMDY_CAP_INFO& m = raw.pMdyCap[i];
        in.place(m.pFormats, m.nFormatCount);
        for (int j = 0; m.pFormats && j < m.nFormatCount && j < 64; ++j) in.place(m.pFormats[j].pInfo, 1);
    }
    in.place(raw.pFmgrCap, 1);
    if (raw.pFmgrCap) in.file_types(raw.pFmgrCap->pFileTypes);
    in.place(raw.pMMSCap, 1);
    in.place(raw.pCalCap, raw.nCalCapCount);
    in.place(raw.pVideoCap, raw.nVideoCapCount);
    for (int i = 0; raw.pVideoCap && i < raw.nVideoCapCount && i < 64; ++i) {
        VIDEO_CAP_INFO& v = raw.pVideoCap[i];
        in.place(v.pDimensions, v.nDimensionCount);
        for (int j = 0; v.pDimensions && j < v.nDimensionCount && j < 64; ++j)
            in.place(v.pDimensions[j].pQualities, v.pDimensions[j].nQualityCount);
    }
    in.place(raw.pFJCap, 1);
    if (raw.pFJCap) { in.file_types(raw.pFJCap->pFileTypes); in.place(raw.pFJCap->pPLCap, raw.pFJCap->nPLCount); }
    g_cap = raw;

    // Every entry and every melody query, at each position the counts allow and one past.
    ME_CAPABILITY& cap = g_cap;
    const int formats = static_cast<int>(in.byte()) << 8 | in.byte();
    for (int i = -1; i <= cap.GetImgCapCount(); ++i) { IMG_CAP_INFO img; cap.GetImgCapByIndex(i, &img); }
    for (int i = -1; i <= cap.GetVideoCapCount(); ++i) {
        VIDEO_CAP_INFO video{};
        cap.GetVideoCapByIndex(i, &video);
        for (int dim = -1; dim <= 4; ++dim) {
            VIDEO_DIMENSION d;
            cap.GetVideoDimAttr(video.nType, dim, &d);
            for (int q = -1; q <= 3; ++q) { VIDEO_QUALITY vq; cap.GetVideoQuality(video.nType, dim, q, &vq); }
        }
    }
    for (int i = -1; i <= cap.GetMdyCapCount(); ++i) {
        xMDY_CAP_INFO mdy{};
        cap.GetMdyCapByIndex(i, &mdy);
        GetMaxNameCLen(mdy); GetMaxNameWLen(mdy); GetSupportFmt(mdy); GetSupPolyFmt(mdy); GetSupSingleFmt(mdy);
        IsSupportPoly(mdy); IsSupportSingle(mdy); GetSpecEffCap(mdy); GetMdyAllSupportFormat(mdy);
        GetULTrkLimit(mdy, formats); GetULNoteCntLimit(mdy, formats); GetULSizeLimit(mdy, formats);
        GetULStrLenLimit(mdy, formats); IsULCapTypeEnable(mdy, formats, formats >> 4);
        GetMdyExtensionName(mdy, formats);
        unsigned char data[64];
        GetMdyFileFmtCap(mdy, formats, data, static_cast<int>(in.byte() % (sizeof data + 1)));
    }
    for (int i = -1; i <= cap.GetFmgrFileAttrCount(); ++i) { FMGR_FILETYPE_CAP row; cap.GetFmgrFileAttr(i, &row); }
    for (int i = -1; i <= cap.GetFJFileTypeCount(); ++i) { FMGR_FILETYPE_CAP row; cap.GetFJFileTypeAttr(i, &row); }
    for (int i = -1; i <= cap.GetFJPLCapCount(); ++i) { PL_CAP_INFO pl; cap.GetFJPLCapInfo(i, &pl); }
    for (int i = -1; i <= 8; ++i) { CAL_CAP_INFO cal; cap.GetCalCapByIndex(i, &cal); }
    MMS_CAP_INFO mms; cap.GetMMSCap(&mms);
    FMGR_CAP_INFO fmgr; cap.GetFmgrCap(&fmgr);
    FJ_CAP_INFO fj; cap.GetFJCap(&fj);
    return 0;
}
