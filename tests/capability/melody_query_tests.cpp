// Melody capability queries.
#include <gtest/gtest.h>
#include "raw_record.h"

namespace {

// Converts a record holding the one melody of `list` (type 3) into the shared tables and
// returns the melody as the accessors hand it out.
xMDY_CAP_INFO install(MelodyList& list) {
    RAW_ME_CAPABILITY raw{};
    raw.pMdyCap = &list.melody;
    raw.nMdyCapCount = 1;
    g_cap = raw;
    xMDY_CAP_INFO out{};
    EXPECT_EQ(0, g_cap.GetMdyCap(list.melody.nType, &out));
    return out;
}

struct QueryCase {
    const char* what;
    std::vector<unsigned long> formats;
    long long (*query)(xMDY_CAP_INFO&);
    long long want;
};

} // namespace

TEST(MelodyQueries, FormatSetsAndScanningRules) {
    const QueryCase cases[] = {
        {"support 1,8,128", {1, 8, 128}, [](xMDY_CAP_INFO& m) -> long long { return GetSupportFmt(m); }, 137},
        {"poly 1,8,128", {1, 8, 128}, [](xMDY_CAP_INFO& m) -> long long { return GetSupPolyFmt(m); }, 136},
        {"single 1,8,128", {1, 8, 128}, [](xMDY_CAP_INFO& m) -> long long { return GetSupSingleFmt(m); }, 1},
        {"is poly 1,8,128", {1, 8, 128}, [](xMDY_CAP_INFO& m) -> long long { return IsSupportPoly(m); }, 1},
        {"is single 1,8,128", {1, 8, 128}, [](xMDY_CAP_INFO& m) -> long long { return IsSupportSingle(m); }, 1},
        {"is poly 8192", {8192}, [](xMDY_CAP_INFO& m) -> long long { return IsSupportPoly(m); }, 1},
        {"poly 8192", {8192}, [](xMDY_CAP_INFO& m) -> long long { return GetSupPolyFmt(m); }, 0},
        {"single 6", {6}, [](xMDY_CAP_INFO& m) -> long long { return GetSupSingleFmt(m); }, 6},
        {"is single 6", {6}, [](xMDY_CAP_INFO& m) -> long long { return IsSupportSingle(m); }, 0},
        {"single 16777216", {0x1000000}, [](xMDY_CAP_INFO& m) -> long long { return GetSupSingleFmt(m); }, 0x1000000},
        {"all formats 1,32768", {1, 32768}, [](xMDY_CAP_INFO& m) -> long long { return GetMdyAllSupportFormat(m); }, 0x8618},
        {"all formats 24,16480", {24, 16480}, [](xMDY_CAP_INFO& m) -> long long { return GetMdyAllSupportFormat(m); }, 0},
        {"all formats 64,256,8192", {64, 256, 8192}, [](xMDY_CAP_INFO& m) -> long long { return GetMdyAllSupportFormat(m); }, 0x5FF8 | 0x1980 | 0x2000},
        {"trk 24 finds 16", {1, 16}, [](xMDY_CAP_INFO& m) -> long long { return GetULTrkLimit(m, 24); }, 16},
        {"trk 1 singles only", {1, 2, 4}, [](xMDY_CAP_INFO& m) -> long long { return GetULTrkLimit(m, 1); }, -1},
        {"trk skips 128", {128, 8}, [](xMDY_CAP_INFO& m) -> long long { return GetULTrkLimit(m, 0xFF); }, 8},
        {"notes first match decides", {24, 8}, [](xMDY_CAP_INFO& m) -> long long { return GetULNoteCntLimit(m, 8); }, 0},
        {"notes single", {8, 2}, [](xMDY_CAP_INFO& m) -> long long { return GetULNoteCntLimit(m, 2); }, 2000},
        {"size skips 1", {1, 256}, [](xMDY_CAP_INFO& m) -> long long { return GetULSizeLimit(m, 0xFFFF); }, 256000},
        {"size none", {1, 2}, [](xMDY_CAP_INFO& m) -> long long { return GetULSizeLimit(m, 3); }, 0},
        {"strlen format 1", {1}, [](xMDY_CAP_INFO& m) -> long long { return GetULStrLenLimit(m, 1); }, -9},
        {"strlen 16777216", {0x1000000}, [](xMDY_CAP_INFO& m) -> long long { return GetULStrLenLimit(m, 0x1000000); }, 33},
        {"strlen other format", {8}, [](xMDY_CAP_INFO& m) -> long long { return GetULStrLenLimit(m, 8); }, -1},
        {"strlen no match", {8}, [](xMDY_CAP_INFO& m) -> long long { return GetULStrLenLimit(m, 1); }, -1},
        {"cap type shares a bit", {8}, [](xMDY_CAP_INFO& m) -> long long { return IsULCapTypeEnable(m, 8, 0x10); }, 1},
        {"cap type no bit", {8}, [](xMDY_CAP_INFO& m) -> long long { return IsULCapTypeEnable(m, 8, 0x01); }, 0},
        {"cap type unlisted format", {512}, [](xMDY_CAP_INFO& m) -> long long { return IsULCapTypeEnable(m, 512, -1); }, 0},
        {"special effects 16384", {8, 16384}, [](xMDY_CAP_INFO& m) -> long long { return GetSpecEffCap(m); }, 16384 * 3},
        {"name C len slot 0", {8, 1}, [](xMDY_CAP_INFO& m) -> long long { return GetMaxNameCLen(m); }, 108},
        {"name W len slot 0", {8, 1}, [](xMDY_CAP_INFO& m) -> long long { return GetMaxNameWLen(m); }, 208},
        {"max melodys", {8}, [](xMDY_CAP_INFO& m) -> long long { return GetMaxMelodys(m); }, 12},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.what);
        MelodyList list(3, c.formats);
        list.melody.nMaxMelodys = 12;
        for (size_t i = 0; i < c.formats.size(); ++i) {
            const long f = static_cast<long>(c.formats[i]);
            list.caps[i].dwSizeLimit = static_cast<unsigned long>(f * 1000);
            list.caps[i].nMaxNameCLen = static_cast<int>(100 + f);
            list.caps[i].nMaxNameWLen = static_cast<int>(200 + f);
            list.Put<unsigned long>(i, 4, 0x10);                    // upload capability types
            list.Put<short>(i, 8, static_cast<short>(f == 1 ? -9 : f));   // track / string limit
            list.Put<int>(i, 12, static_cast<int>(f * 1000));      // note count
            list.Put<int>(i, 20, static_cast<int>(f * 3));         // special effects
            if (f == 0x1000000) list.Put<short>(i, 4, 33);
        }
        xMDY_CAP_INFO m = install(list);
        EXPECT_EQ(c.want, c.query(m));
    }
}

TEST(MelodyQueries, EmptyArgumentsAndUnknownTypes) {
    MelodyList list(3, {1, 8});
    xMDY_CAP_INFO m = install(list);

    list.caps[0].nMaxNameCLen = 31;
    list.caps[0].nMaxNameWLen = 32;
    m = install(list);
    ASSERT_EQ(31, GetMaxNameCLen(m));
    ASSERT_EQ(32, GetMaxNameWLen(m));

    // A melody of the table, asked about with no format: the empty results.
    xMDY_CAP_INFO none = m;
    none.nFormatCount = 0;
    EXPECT_EQ(0, GetULStrLenLimit(none, 1));
    EXPECT_EQ(0ul, GetSupportFmt(none));
    EXPECT_EQ(-1, GetULTrkLimit(none, -1));
    EXPECT_EQ(0, GetMaxNameCLen(none));
    EXPECT_EQ(0, GetMaxNameWLen(none));

    xMDY_CAP_INFO stranger = m;
    stranger.nType = 99;
    EXPECT_EQ(-1, GetULStrLenLimit(stranger, 1));
    EXPECT_EQ(0ul, GetSupportFmt(stranger));
    EXPECT_EQ(0, GetMaxNameWLen(stranger));
    EXPECT_TRUE(GetMdyExtensionName(stranger, -1).IsEmpty());

    // The melody is found in any of the ten slots, beyond the current count too.
    RAW_ME_CAPABILITY empty{};
    g_cap = empty;
    EXPECT_EQ(9ul, GetSupportFmt(m));
}

TEST(MelodyQueries, ExtensionNamesAndFormatCountBound) {
    std::vector<unsigned long> many(10, 2);
    many.push_back(4);   // the eleventh entry is beyond the ten slots
    MelodyList list(3, many);
    const wchar_t ext[] = L"abcdef";   // a full field, no terminator
    for (int i = 0; i < 6; ++i) list.caps[0].szExt[i] = ext[i];
    xMDY_CAP_INFO m = install(list);
    m.nFormatCount = 25;
    EXPECT_EQ(2ul, GetSupportFmt(m));
    EXPECT_STREQ(L"abcdef", GetMdyExtensionName(m, 2).GetString());
    EXPECT_TRUE(GetMdyExtensionName(m, 4).IsEmpty());
}

TEST(MelodyQueries, FileFormatCapCopiesByFormat) {
    MelodyList list(3, {128, 1, 0x1000000, 512, 8, 24, 32, 16480});
    for (size_t e = 0; e < 8; ++e)
        for (size_t b = 4; b < 44; ++b) list.Put<unsigned char>(e, b, static_cast<unsigned char>(b + e * 50));
    xMDY_CAP_INFO m = install(list);

    struct Case { int format; int size; int ret; int copied; size_t entry; };
    const Case cases[] = {
        {128, 40, 1, 40, 0}, {128, 64, 1, 8, 0}, {1, 64, 1, 12, 1}, {0x1000000, 64, 1, 2, 2},
        {512, 64, 1, 8, 3}, {1, 5, 1, 5, 1} /* never past the caller's size */, {8, 64, 1, 16, 4},
        {24, 64, 1, 16, 5}, {32, 64, 1, 20, 6}, {16480, 64, 1, 20, 7}, {16, 64, 0, 0, 0}, {1, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format << " size " << c.size);
        unsigned char out[64];
        memset(out, 0xEE, sizeof(out));
        EXPECT_EQ(c.ret, GetMdyFileFmtCap(m, c.format, out, c.size));
        for (int i = 0; i < 64; ++i) {
            unsigned char want = i < c.copied ? static_cast<unsigned char>(4 + i + c.entry * 50) : 0xEE;
            ASSERT_EQ(want, out[i]) << "byte " << i;
        }
    }
    EXPECT_EQ(0, GetMdyFileFmtCap(m, 128, nullptr, 40));
}
