// Accessors of ME_CAPABILITY over the shared tables.
#include <gtest/gtest.h>
#include "raw_record.h"

namespace {

class CapabilityAccessors : public testing::Test {
protected:
    void SetUp() override {
        images = {Img(1, 0x3, 0), Img(2, 0x1, 0x4), Img(2, 0xF0, 0)};   // type 2 twice
        cals.assign(2, CAL_CAP_INFO{});
        cals[0].eType = static_cast<ME_CAL_TYPE>(5);
        cals[1].eType = static_cast<ME_CAL_TYPE>(6);
        cals[1].abDetail[0] = 0x66;
        melodies[0].nType = 7;
        melodies[0].dwFunFlags = 0xF;
        melodies[0].dwSetTonesFlags = 0;
        melodies[1].nType = 8;
        melodies[1].dwFunFlags = 0xF;
        melodies[1].dwSetTonesFlags = 0x2;
        melodies[1].nFormatCount = 1;
        melodies[1].pFormats = &format;
        raw = RAW_ME_CAPABILITY{};
        raw.pImgCap = images.data();
        raw.nImgCapCount = 3;
        raw.pCalCap = cals.data();
        raw.nCalCapCount = 2;
        raw.pMdyCap = melodies;
        raw.nMdyCapCount = 2;
        raw.pMMSCap = &mms;
        video.nType = 1;
        raw.pVideoCap = &video;
        raw.nVideoCapCount = 1;
        g_cap = raw;
    }
    std::vector<IMG_CAP_INFO> images;
    std::vector<CAL_CAP_INFO> cals;
    xMDY_CAP_INFO melodies[2] = {};
    MDY_FORMAT_CAP format{};
    MMS_CAP_INFO mms{0x6, {}};
    VIDEO_CAP_INFO video{};
    RAW_ME_CAPABILITY raw{};
};

} // namespace

TEST_F(CapabilityAccessors, SearchFindsTheFirstEntryClearingOrKeepingTheOutputOnFailure) {
    IMG_CAP_INFO img;
    memset(&img, 0xAB, sizeof(img));
    EXPECT_EQ(1, g_cap.GetImgCap(2, &img));
    EXPECT_EQ(0x1u, img.dwFunFlags);                 // the first of the two
    memset(&img, 0xAB, sizeof(img));
    EXPECT_EQ(-1, g_cap.GetImgCap(99, &img));
    IMG_CAP_INFO zero{};
    EXPECT_EQ(0, memcmp(&zero, &img, sizeof(img)));  // cleared
    for (int type : {1, 99}) {   // a null output is refused, found or not
        SCOPED_TRACE(type);
        EXPECT_EQ(-1, g_cap.GetImgCap(type, nullptr));
        EXPECT_EQ(-1, g_cap.GetVideoCap(type, nullptr));
        EXPECT_EQ(-1, g_cap.GetMdyCap(type == 1 ? 8 : type, nullptr));
        EXPECT_EQ(-1, g_cap.GetCalCap(type == 1 ? 6 : type, nullptr));
    }

    xMDY_CAP_INFO mdy;
    memset(&mdy, 0xAB, sizeof(mdy));
    EXPECT_EQ(-1, g_cap.GetMdyCap(99, &mdy));
    EXPECT_EQ(0xABABABABu, mdy.dwFunFlags);          // untouched
    EXPECT_EQ(1, g_cap.GetMdyCap(8, &mdy));
    CAL_CAP_INFO cal{};
    EXPECT_EQ(1, g_cap.GetCalCap(6, &cal));
    EXPECT_EQ(0x66, cal.abDetail[0]);

    // Index accessors: out of range gives 0 and leaves the output.
    memset(&img, 0xAB, sizeof(img));
    for (int index : {-1, 3, 1000}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(0, g_cap.GetImgCapByIndex(index, &img));
        EXPECT_EQ(0xABABABABu, img.dwFunFlags);
    }
    EXPECT_EQ(2, g_cap.GetImgCapByIndex(2, &img));
    EXPECT_EQ(0xF0u, img.dwFunFlags);
    EXPECT_EQ(static_cast<ME_CAL_TYPE>(0), g_cap.GetCalCapByIndex(2, nullptr));
}

TEST_F(CapabilityAccessors, FlagQueriesTable) {
    struct Case { const char* what; unsigned long got; unsigned long want; };
    const Case cases[] = {
        {"img fun masked bits", g_cap.IsImgCapFunEnable(1, 0x6), 0x2},
        {"img fun unknown", g_cap.IsImgCapFunEnable(99, 0xFF), 0},
        {"img logo masked", g_cap.IsImgCapSetLogoEnable(2, 0xFF), 0x4},
        {"logo fun flags 0", static_cast<unsigned long>(g_cap.IsImgCapSupportLogoFun(1)), 1},
        {"logo fun flags set", static_cast<unsigned long>(g_cap.IsImgCapSupportLogoFun(2)), 0},
        {"logo fun unknown", static_cast<unsigned long>(g_cap.IsImgCapSupportLogoFun(99)), 0},
        {"tones fun flags 0", static_cast<unsigned long>(g_cap.IsMdyCapSupportTonesFun(7)), 1},
        {"tones fun flags set", static_cast<unsigned long>(g_cap.IsMdyCapSupportTonesFun(8)), 0},
        {"tones enable", g_cap.IsMdyCapSetTonesEnable(8, 0x3), 0x2},
        {"mdy fun without formats", g_cap.IsMdyCapFunEnable(7, 0xF), 0},
        {"mdy fun with a format", g_cap.IsMdyCapFunEnable(8, 0x5), 0x5},
        {"mms flags held", TestMMSCapFlag(g_cap, 0x6), 1},
        {"mms flags partly held", TestMMSCapFlag(g_cap, 0x3), 0},
        {"mms flags 0", TestMMSCapFlag(g_cap, 0), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.want, c.got);
    }
    RAW_ME_CAPABILITY noMms = raw;
    noMms.pMMSCap = nullptr;
    g_cap = noMms;
    MMS_CAP_INFO out{};
    EXPECT_EQ(0, g_cap.GetMMSCap(&out));
    EXPECT_FALSE(TestMMSCapFlag(g_cap, 0));
}

TEST_F(CapabilityAccessors, SettersOverwriteTheFoundEntry) {
    IMG_CAP_INFO replacement = Img(42, 0x8);
    EXPECT_EQ(1, g_cap.SetImgCap(2, replacement));
    EXPECT_EQ(42, g_cap.GetImgCapByIndex(1, nullptr));   // key included
    EXPECT_EQ(-1, g_cap.SetImgCap(99, replacement));
    xMDY_CAP_INFO m{};
    m.nType = 70;
    EXPECT_EQ(0, g_cap.SetMdyCap(7, m));
    EXPECT_EQ(70, g_cap.GetMdyCapByIndex(0, nullptr));
    CAL_CAP_INFO cal{};
    cal.eType = static_cast<ME_CAL_TYPE>(9);
    EXPECT_EQ(1, g_cap.SetCalCapByType(static_cast<ME_CAL_TYPE>(5), cal));
    EXPECT_EQ(0, g_cap.SetCalCapByType(static_cast<ME_CAL_TYPE>(5), cal));
    CAL_CAP_INFO out{};
    EXPECT_EQ(1, g_cap.GetCalCapByType(static_cast<ME_CAL_TYPE>(9), &out));
    EXPECT_EQ(0, g_cap.GetCalCapByType(static_cast<ME_CAL_TYPE>(9), nullptr));
    EXPECT_EQ(0, g_cap.GetCalCapByType(static_cast<ME_CAL_TYPE>(5), &out));
}

TEST_F(CapabilityAccessors, CopiesOfTheRecordReadTheSameTables) {
    ME_CAPABILITY local = g_cap;
    IMG_CAP_INFO img{};
    EXPECT_EQ(0, local.GetImgCap(1, &img));
    g_cap.SetImgCap(1, Img(1, 0x99));
    local.GetImgCap(1, &img);
    EXPECT_EQ(0x99u, img.dwFunFlags);   // one set of tables

    // The 880-byte copy carries counts as they are; accessors never read past a table.
    ME_CAPABILITY odd;
    odd = g_cap;
    odd.nImgCapCount = 50;
    odd.nCalCapCount = 1000;
    EXPECT_EQ(0, odd.GetImgCapByIndex(20, nullptr));
    EXPECT_EQ(-1, odd.GetImgCap(12345, &img));
    EXPECT_EQ(static_cast<ME_CAL_TYPE>(0), odd.GetCalCapByIndex(999, nullptr));
}

TEST_F(CapabilityAccessors, AgentInfoAndConnectionCap) {
    AGENT_INFO in{};
    in.abData[1239] = 0x11;
    g_cap.SetAgentInfo(in);
    AGENT_INFO out{};
    EXPECT_EQ(1, g_cap.GetAgentInfo(&out));
    EXPECT_EQ(0x11, out.abData[1239]);
    EXPECT_EQ(0, g_cap.GetAgentInfo(nullptr));
    EXPECT_EQ(&g_EngineConnCap, &g_cap.GetConnectionCap());
}
