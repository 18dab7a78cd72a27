// The conversion of a raw record into g_cap and the shared tables.
#include <gtest/gtest.h>
#include "raw_record.h"

TEST(CapabilityConversion, HeaderTextsAreBoundedAndZeroFilled) {
    ME_CAPABILITY dirty;
    memset(static_cast<ME_CAPABILITY_FIELDS*>(&dirty), 0xCD, sizeof(ME_CAPABILITY_FIELDS));
    dirty.pImgCap = nullptr;
    g_cap = dirty;   // 880-byte copy: the header is all 0xCD now

    RAW_ME_CAPABILITY raw{};
    raw.dwHead = 7;
    for (int i = 0; i < 64; ++i) raw.szText1[i] = L'A';   // full field, no terminator
    raw.szText2[0] = L'b';
    raw.szText7[64] = L'z';                               // after the terminator: not copied
    raw.adwValue[20] = 0x1234;
    g_cap = raw;

    EXPECT_EQ(7u, g_cap.dwHead);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(L'A', g_cap.szText1[i]);
    EXPECT_EQ(L'b', g_cap.szText2[0]);
    for (int i = 1; i < 64; ++i) EXPECT_EQ(0, g_cap.szText2[i]);
    for (int i = 0; i < 65; ++i) EXPECT_EQ(0, g_cap.szText7[i]);
    EXPECT_EQ(0x1234u, g_cap.adwValue[20]);
}

TEST(CapabilityConversion, TopLevelListsAreCopiedBoundedAndPointersNulled) {
    std::vector<IMG_CAP_INFO> images;
    for (int i = 0; i < 12; ++i) images.push_back(Img(100 + i));
    std::vector<CAL_CAP_INFO> cals(5);
    for (int i = 0; i < 5; ++i) cals[i].eType = static_cast<ME_CAL_TYPE>(i + 1);
    MMS_CAP_INFO mms{0x5, {}};
    RAW_ME_CAPABILITY raw{};
    raw.pImgCap = images.data();
    raw.nImgCapCount = 12;
    raw.pCalCap = cals.data();
    raw.nCalCapCount = 5;
    raw.pMMSCap = &mms;
    for (int i = 0; i < 7; ++i) raw.adwModuleValue[i] = i + 1;
    g_cap = raw;

    EXPECT_EQ(10, g_cap.GetImgCapCount());
    EXPECT_EQ(109, g_cap.GetImgCapByIndex(9, nullptr));
    EXPECT_EQ(0, g_cap.GetImgCapByIndex(10, nullptr));
    EXPECT_EQ(3, g_cap.nCalCapCount);
    EXPECT_EQ(static_cast<ME_CAL_TYPE>(3), g_cap.GetCalCapByIndex(2, nullptr));
    EXPECT_EQ(7u, g_cap.adwModuleValue[6]);
    EXPECT_EQ(nullptr, g_cap.pImgCap);
    EXPECT_EQ(nullptr, g_cap.pCalCap);
    EXPECT_EQ(nullptr, g_cap.pMMSCap);
    EXPECT_EQ(nullptr, g_cap.pMdyCap);
    EXPECT_EQ(nullptr, g_cap.pVideoCap);
    EXPECT_EQ(nullptr, g_cap.pFmgrCap);
    EXPECT_EQ(nullptr, g_cap.pFJCap);
}

TEST(CapabilityConversion, FileTypeListsEndAtTheNullRowDifferently) {
    std::vector<FMGR_FILETYPE_CAP> rows = {Row(L"JPG"), Row(L"MP3"), Row(L"AMR"), Row(L"Null"), Row(L"After")};
    FMGR_CAP_INFO fmgr{};
    fmgr.pFileTypes = rows.data();
    FJ_CAP_INFO fj{};
    fj.pFileTypes = rows.data();
    std::vector<PL_CAP_INFO> pl(2);
    pl[0].abDetail[0] = 0x42;
    fj.pPLCap = pl.data();
    fj.nPLCount = 2;
    RAW_ME_CAPABILITY raw{};
    raw.pFmgrCap = &fmgr;
    raw.pFJCap = &fj;
    g_cap = raw;

    EXPECT_EQ(4, g_cap.GetFmgrFileAttrCount());   // the "NULL" row counts in the file manager list
    FMGR_FILETYPE_CAP row{};
    ASSERT_EQ(1, g_cap.GetFmgrFileAttr(3, &row));
    EXPECT_EQ(L"Null", RowName(row));
    EXPECT_EQ(0, g_cap.GetFmgrFileAttr(4, &row));
    EXPECT_EQ(3, g_cap.GetFJFileTypeCount());     // and not in the FJ list
    EXPECT_EQ(1, g_cap.GetFJPLCapCount());
    FJ_CAP_INFO fjOut{};
    ASSERT_EQ(1, g_cap.GetFJCap(&fjOut));
    EXPECT_EQ(2, fjOut.nPLCount);
    EXPECT_EQ(nullptr, fjOut.pFileTypes);
    EXPECT_EQ(nullptr, fjOut.pPLCap);
    PL_CAP_INFO plOut{};
    ASSERT_EQ(1, g_cap.GetFJPLCapInfo(0, &plOut));
    EXPECT_EQ(0x42, plOut.abDetail[0]);
    EXPECT_EQ(0, g_cap.GetFJPLCapInfo(1, &plOut));

    // A list with no "NULL" row within 50 rows: 50 rows copied, the counts stay.
    std::vector<FMGR_FILETYPE_CAP> endless(60, Row(L"X"));
    fmgr.pFileTypes = endless.data();
    fj.pFileTypes = endless.data();
    g_cap = raw;
    EXPECT_EQ(4, g_cap.GetFmgrFileAttrCount());
    EXPECT_EQ(3, g_cap.GetFJFileTypeCount());
    ASSERT_EQ(1, g_cap.GetFmgrFileAttr(3, &row));
    EXPECT_EQ(L"X", RowName(row));

    // No file manager and no FJ record: the presence flag clears, the FJ tables stay.
    RAW_ME_CAPABILITY bare{};
    g_cap = bare;
    FMGR_CAP_INFO fmgrOut{};
    EXPECT_EQ(0, g_cap.GetFmgrCap(&fmgrOut));
    EXPECT_EQ(3, g_cap.GetFJFileTypeCount());
}

TEST(CapabilityConversion, RecordsWithoutAFileTypeListHaveNoRows) {
    std::vector<FMGR_FILETYPE_CAP> rows = {Row(L"JPG"), Row(L"MP3"), Row(L"NULL")};
    FMGR_CAP_INFO fmgr{};
    fmgr.pFileTypes = rows.data();
    FJ_CAP_INFO fj{};
    fj.pFileTypes = rows.data();
    RAW_ME_CAPABILITY raw{};
    raw.pFmgrCap = &fmgr;
    raw.pFJCap = &fj;
    g_cap = raw;
    ASSERT_EQ(3, g_cap.GetFmgrFileAttrCount());
    ASSERT_EQ(2, g_cap.GetFJFileTypeCount());

    // The next handset's file manager and FJ records come without lists.
    FMGR_CAP_INFO bareFmgr{};
    bareFmgr.abHead[0] = 0x5A;
    FJ_CAP_INFO bareFj{};
    raw.pFmgrCap = &bareFmgr;
    raw.pFJCap = &bareFj;
    g_cap = raw;
    FMGR_CAP_INFO out{};
    EXPECT_EQ(1, g_cap.GetFmgrCap(&out));
    EXPECT_EQ(0x5A, out.abHead[0]);
    EXPECT_EQ(0, g_cap.GetFmgrFileAttrCount());
    FMGR_FILETYPE_CAP row{};
    EXPECT_EQ(0, g_cap.GetFmgrFileAttr(0, &row));
    EXPECT_EQ(0, g_cap.GetFJFileTypeCount());
    EXPECT_EQ(0, g_cap.GetFJFileTypeAttr(0, &row));
}

TEST(CapabilityConversion, FileManagerRecordIsHandedOutWithoutItsList) {
    std::vector<FMGR_FILETYPE_CAP> rows = {Row(L"JPG"), Row(L"NULL")};
    FMGR_CAP_INFO fmgr{};
    for (int i = 0; i < 8; ++i) fmgr.abHead[i] = static_cast<unsigned char>(0x10 + i);
    for (int i = 0; i < 16; ++i) fmgr.abDetail[i] = static_cast<unsigned char>(0x40 + i);
    fmgr.pFileTypes = rows.data();
    RAW_ME_CAPABILITY raw{};
    raw.pFmgrCap = &fmgr;
    g_cap = raw;
    FMGR_CAP_INFO out;
    memset(&out, 0xEE, sizeof(out));
    ASSERT_EQ(1, g_cap.GetFmgrCap(&out));
    EXPECT_EQ(0, memcmp(fmgr.abHead, out.abHead, sizeof(out.abHead)));
    EXPECT_EQ(0, memcmp(fmgr.abDetail, out.abDetail, sizeof(out.abDetail)));
    EXPECT_EQ(nullptr, out.pFileTypes);   // the engine's pointer means nothing in other processes
    EXPECT_EQ(0, g_cap.GetFmgrCap(nullptr));
}

// Lists longer than their tables: only the bound is copied, and the slot that an over-long
// copy would reach (the next row of the table, or the next table) keeps its content.
TEST(CapabilityConversion, OverLongNestedListsLeaveTheirNeighboursAlone) {
    // Ten melodies; slots 0 and 9 carry 11 formats each, slot 1 one format of its own.
    std::vector<MelodyList> lists;
    for (int i = 0; i < 10; ++i) lists.emplace_back(100 + i, std::vector<unsigned long>(i == 0 || i == 9 ? 11 : 1, 2));
    lists[1].infos[0].dwFormat = 8;
    lists[1].caps[0].szExt[0] = L'm';
    for (int i : {0, 9}) {   // the eleventh entries would land in slot 1's row / past the last row
        lists[i].infos[10].dwFormat = 0x40;
        lists[i].caps[10].szExt[0] = L'x';
        lists[i].caps[10].szExt[1] = L'x';
    }
    std::vector<xMDY_CAP_INFO> melodies;
    for (MelodyList& l : lists) melodies.push_back(l.melody);

    // Four videos, each with five dimensions of four qualities.
    std::vector<VIDEO_QUALITY> qualities(4);
    for (int q = 0; q < 4; ++q) qualities[q].abDetail[0] = static_cast<unsigned char>(0x30 + q);
    std::vector<VIDEO_DIMENSION> dims(5);
    for (int d = 0; d < 5; ++d) {
        dims[d].abDetail[0] = static_cast<unsigned char>(0x20 + d);
        dims[d].pQualities = qualities.data();
        dims[d].nQualityCount = 4;
    }
    std::vector<VIDEO_CAP_INFO> videos(4);
    for (int v = 0; v < 4; ++v) {
        videos[v].nType = 10 + v;
        videos[v].pDimensions = dims.data();
        videos[v].nDimensionCount = 5;
    }
    std::vector<PL_CAP_INFO> pl(2);
    pl[0].abDetail[0] = 0x11;
    pl[1].abDetail[0] = 0x22;
    FJ_CAP_INFO fj{nullptr, pl.data(), 2};
    CAL_CAP_INFO cal{};   // the calendar table follows the video qualities
    cal.eType = static_cast<ME_CAL_TYPE>(5);
    cal.abDetail[19] = 0x55;

    memset(&g_NameOrder, 0x77, sizeof(g_NameOrder));   // the shared value after the PL table
    RAW_ME_CAPABILITY raw{};
    raw.pMdyCap = melodies.data();
    raw.nMdyCapCount = 10;
    raw.pVideoCap = videos.data();
    raw.nVideoCapCount = 4;
    raw.pFJCap = &fj;
    raw.pCalCap = &cal;
    raw.nCalCapCount = 1;
    g_cap = raw;

    struct Case { const char* what; long long got, want; };
    xMDY_CAP_INFO m0{}, m1{}, m9{};
    g_cap.GetMdyCap(100, &m0);
    g_cap.GetMdyCap(101, &m1);
    g_cap.GetMdyCap(109, &m9);
    const long long m0After9 = GetSupportFmt(m0);   // the row after slot 9's is slot 0's format record
    // Slot 0 alone once more: slot 1 keeps its row from the last record and is still found.
    RAW_ME_CAPABILITY first = raw;
    first.nMdyCapCount = 1;
    g_cap = first;
    VIDEO_DIMENSION dim{};
    VIDEO_QUALITY quality{};
    CAL_CAP_INFO calOut{};
    g_cap.GetCalCapByIndex(0, &calOut);
    const Case cases[] = {
        {"melody 0 untouched by melody 9", m0After9, 2},
        {"melody 1's row untouched by melody 0", static_cast<long long>(GetSupportFmt(m1)), 8},
        {"melody 1's extension untouched by melody 0", GetMdyExtensionName(m1, 8) == L"m", 1},
        {"melody 9 keeps ten formats", static_cast<long long>(GetSupportFmt(m9)), 2},
        {"stored format count as received", m0.nFormatCount, 11},
        {"video 1 dimension 0 untouched by video 0",
         (g_cap.GetVideoDimAttr(11, 0, &dim), dim.abDetail[0]), 0x20},
        {"video 0 dimension 3 copied", (g_cap.GetVideoDimAttr(10, 3, &dim), dim.abDetail[0]), 0x23},
        {"video 0's first quality untouched by video 3's dimensions",
         (g_cap.GetVideoQuality(10, 0, 0, &quality), quality.abDetail[0]), 0x30},
        {"calendar untouched by the last qualities", calOut.abDetail[19], 0x55},
        {"last video, last dimension, last quality copied",
         (g_cap.GetVideoQuality(13, 3, 2, &quality), quality.abDetail[0]), 0x32},
        {"PL count bound", g_cap.GetFJPLCapCount(), 1},
        {"value after the PL table untouched", g_NameOrder.abData[0], 0x77},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.want, c.got);
    }
    EXPECT_EQ(0x77, g_NameOrder.abData[sizeof(g_NameOrder) - 1]);
    memset(&g_NameOrder, 0, sizeof(g_NameOrder));
}

TEST(CapabilityConversion, LaterShorterListsLeaveStaleSlots) {
    std::vector<VIDEO_CAP_INFO> videos(4);
    std::vector<std::vector<VIDEO_DIMENSION>> dims(4, std::vector<VIDEO_DIMENSION>(1));
    std::vector<VIDEO_QUALITY> qualities(3);
    qualities[2].abDetail[0] = 0x77;
    for (int v = 0; v < 4; ++v) {
        videos[v].nType = 10 + v;
        dims[v][0].abDetail[0] = static_cast<unsigned char>(v);
        dims[v][0].pQualities = qualities.data();
        dims[v][0].nQualityCount = 5;   // bounded to 3 when copied, kept as received
        videos[v].pDimensions = dims[v].data();
        videos[v].nDimensionCount = 1;
    }
    RAW_ME_CAPABILITY raw{};
    raw.pVideoCap = videos.data();
    raw.nVideoCapCount = 4;
    g_cap = raw;
    raw.nVideoCapCount = 2;
    videos[0].nType = 20;
    g_cap = raw;

    EXPECT_EQ(2, g_cap.GetVideoCapCount());
    VIDEO_CAP_INFO v{};
    EXPECT_EQ(-1, g_cap.GetVideoCap(13, &v));                  // beyond the count for searches
    VIDEO_DIMENSION d{};
    ASSERT_EQ(1, g_cap.GetVideoDimAttr(13, 0, &d));            // but the slot is still found here
    EXPECT_EQ(3, d.abDetail[0]);
    EXPECT_EQ(5, d.nQualityCount);
    EXPECT_EQ(nullptr, d.pQualities);
    EXPECT_EQ(0, g_cap.GetVideoDimAttr(10, 0, &d));            // overwritten by type 20
    VIDEO_QUALITY q{};
    ASSERT_EQ(1, g_cap.GetVideoQuality(12, 0, 2, &q));
    EXPECT_EQ(0x77, q.abDetail[0]);
    EXPECT_EQ(0, g_cap.GetVideoQuality(12, 0, 3, &q));
    EXPECT_EQ(0, g_cap.GetVideoDimAttr(12, 4, &d));
    EXPECT_EQ(0, g_cap.GetVideoDimAttr(12, -1, &d));
    EXPECT_EQ(0, g_cap.GetVideoDimAttr(12, 0, nullptr));
}

TEST(CapabilityConversion, NullListsWithPositiveCountsAreReadAsZeroedEntries) {
    // First fill every table, so that stale content would show.
    std::vector<IMG_CAP_INFO> images(3, Img(9, 0xFF));
    MelodyList melody(4, {1, 8});
    std::vector<VIDEO_QUALITY> qualities(3);
    qualities[0].abDetail[0] = 0xEE;
    VIDEO_DIMENSION dim{};
    dim.abDetail[0] = 0xDD;
    dim.pQualities = qualities.data();
    dim.nQualityCount = 3;
    VIDEO_CAP_INFO video{};
    video.nType = 30;
    video.pDimensions = &dim;
    video.nDimensionCount = 1;
    std::vector<CAL_CAP_INFO> cals(2);
    cals[0].eType = static_cast<ME_CAL_TYPE>(8);
    std::vector<PL_CAP_INFO> pl(1);
    pl[0].abDetail[0] = 0xAA;
    FJ_CAP_INFO fj{nullptr, pl.data(), 1};
    RAW_ME_CAPABILITY full{};
    full.pImgCap = images.data(); full.nImgCapCount = 3;
    full.pMdyCap = &melody.melody; full.nMdyCapCount = 1;
    full.pVideoCap = &video; full.nVideoCapCount = 1;
    full.pCalCap = cals.data(); full.nCalCapCount = 2;
    full.pFJCap = &fj;
    g_cap = full;

    struct Case { const char* level; void (*spoil)(RAW_ME_CAPABILITY&, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&); };
    const Case cases[] = {
        {"images", [](RAW_ME_CAPABILITY& r, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&) { r.pImgCap = nullptr; }},
        {"melodies", [](RAW_ME_CAPABILITY& r, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&) { r.pMdyCap = nullptr; }},
        {"formats", [](RAW_ME_CAPABILITY&, MelodyList& m, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&) { m.melody.pFormats = nullptr; }},
        {"calendar", [](RAW_ME_CAPABILITY& r, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&) { r.pCalCap = nullptr; }},
        {"videos", [](RAW_ME_CAPABILITY& r, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO&) { r.pVideoCap = nullptr; }},
        {"dimensions", [](RAW_ME_CAPABILITY&, MelodyList&, VIDEO_CAP_INFO& v, VIDEO_DIMENSION&, FJ_CAP_INFO&) { v.pDimensions = nullptr; }},
        {"qualities", [](RAW_ME_CAPABILITY&, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION& d, FJ_CAP_INFO&) { d.pQualities = nullptr; }},
        {"PL list", [](RAW_ME_CAPABILITY&, MelodyList&, VIDEO_CAP_INFO&, VIDEO_DIMENSION&, FJ_CAP_INFO& f) { f.pPLCap = nullptr; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        g_cap = full;   // everything present once more
        RAW_ME_CAPABILITY raw = full;
        MelodyList m = melody;
        m.melody.pFormats = m.caps.data();
        for (size_t i = 0; i < m.caps.size(); ++i) m.caps[i].pInfo = &m.infos[i];
        VIDEO_CAP_INFO v = video;
        VIDEO_DIMENSION d = dim;
        v.pDimensions = &d;
        FJ_CAP_INFO f = fj;
        raw.pMdyCap = &m.melody;
        raw.pVideoCap = &v;
        raw.pFJCap = &f;
        c.spoil(raw, m, v, d, f);
        g_cap = raw;   // must not crash

        IMG_CAP_INFO img{};
        g_cap.GetImgCapByIndex(0, &img);
        EXPECT_EQ(raw.pImgCap ? 0xFFu : 0u, img.dwFunFlags);
        xMDY_CAP_INFO mdy{};
        g_cap.GetMdyCapByIndex(0, &mdy);
        EXPECT_EQ(raw.pMdyCap ? 4 : 0, mdy.nType);
        EXPECT_EQ(raw.pMdyCap && m.melody.pFormats ? 9ul : 0ul, GetSupportFmt(mdy));
        EXPECT_EQ(raw.pCalCap ? static_cast<ME_CAL_TYPE>(8) : static_cast<ME_CAL_TYPE>(0), g_cap.GetCalCapByIndex(0, nullptr));
        VIDEO_DIMENSION dOut{};
        const bool videoThere = raw.pVideoCap != nullptr;
        EXPECT_EQ(videoThere ? 1 : 0, g_cap.GetVideoDimAttr(30, 0, &dOut));
        VIDEO_QUALITY qOut{};
        if (videoThere) {
            EXPECT_EQ(v.pDimensions ? 0xDD : 0, dOut.abDetail[0]);
            g_cap.GetVideoQuality(30, 0, 0, &qOut);
            // Zeroed dimensions have no qualities: those slots are not filled and stay.
            EXPECT_EQ(!v.pDimensions || d.pQualities ? 0xEE : 0, qOut.abDetail[0]);
        }
        PL_CAP_INFO plOut{};
        ASSERT_EQ(1, g_cap.GetFJPLCapInfo(0, &plOut));
        EXPECT_EQ(f.pPLCap ? 0xAA : 0, plOut.abDetail[0]);
    }

    RAW_ME_CAPABILITY negative{};
    negative.nImgCapCount = -3;
    negative.nVideoCapCount = -1;
    g_cap = negative;
    EXPECT_EQ(0, g_cap.GetImgCapByIndex(0, nullptr));
    EXPECT_EQ(-1, g_cap.GetImgCap(9, &images[0]));
}
