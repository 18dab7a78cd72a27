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
