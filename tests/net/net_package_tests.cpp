// Request records and their packages.
#include <gtest/gtest.h>
#include <string.h>
#include <random>
#include <Corelink.h>
#include <CPackageBlk.h>
#include <CxSysMsgQueue.h>
#include <net_package.h>

TEST(NetPackage, RoundTripKeepsFieldsAndLimits) {
    CCommandNetBlk b;
    b.hWnd = reinterpret_cast<HWND>(0x1234);
    b.nMsg = NET_MSG_POST_XML;
    b.eResult = NET_RESULT_REDIRECT;
    b.nMsgID = 3024;
    memset(b.szServer, 's', 511);
    for (int i = 0; i < 1023; ++i) b.szResFile[i] = L'f';
    for (int i = 0; i < 511; ++i) b.szDeviceId[i] = L'd';
    strcpy(b.szCgi, "/cgi");
    strcpy(b.szObjPath, "/obj?x=1");
    strcpy(b.szResHeader, "HTTP/1.1 302 Found\r\n");
    b.iHttpPort = 443;
    b.nResFileSize = 5000;
    b.pszXml = strdup("<req>x</req>");
    b.listArgument.AddTail(L"a=1");
    b.listArgument.AddTail(L"[#URL_ENCODING#]b=x y&z");

    CPackageBlk package(1);
    PackNetBlk(b, package);
    CCommandNetBlk back;
    UnpackNetBlk(package.GetPackagePtr(), package.GetPackageSize(), back);
    EXPECT_EQ(b.hWnd, back.hWnd);
    EXPECT_EQ(NET_MSG_POST_XML, back.nMsg);
    EXPECT_EQ(NET_RESULT_REDIRECT, back.eResult);
    EXPECT_EQ(3024, back.nMsgID);
    EXPECT_EQ(511u, strlen(back.szServer));
    EXPECT_EQ(0, memcmp(b.szResFile, back.szResFile, sizeof(b.szResFile)));
    EXPECT_EQ(0, memcmp(b.szDeviceId, back.szDeviceId, sizeof(b.szDeviceId)));
    EXPECT_STREQ("/cgi", back.szCgi);
    EXPECT_STREQ("/obj?x=1", back.szObjPath);
    EXPECT_STREQ(b.szResHeader, back.szResHeader);
    EXPECT_EQ(443, back.iHttpPort);
    EXPECT_EQ(5000, back.nResFileSize);
    ASSERT_NE(nullptr, back.pszXml);
    EXPECT_STREQ("<req>x</req>", back.pszXml);
    ASSERT_EQ(2, back.listArgument.GetCount());
    EXPECT_STREQ(L"[#URL_ENCODING#]b=x y&z", back.listArgument.GetItem(1).GetString());

    CCommandNetBlk copy(b);   // a copy owns its own XML text
    EXPECT_NE(b.pszXml, copy.pszXml);
    EXPECT_STREQ(b.pszXml, copy.pszXml);
}

TEST(NetPackage, OptionalKeysOnlyWhenPresent) {
    CCommandNetBlk b;
    CPackageBlk package(1);
    PackNetBlk(b, package);
    CUnpackageBlk u;
    ASSERT_TRUE(u.SetData(package.GetPackagePtr(), package.GetPackageSize()));
    unsigned long size = 0;
    for (const wchar_t* key : {L"pszXml_len", L"pszXml", L"Count_Argument", L"Argument_0"}) EXPECT_FALSE(u.GetData(key, nullptr, size));
    struct Key { const wchar_t* key; unsigned long size; };
    for (const Key& k : {Key{L"hWnd", 4}, Key{L"nMsg", 4}, Key{L"eResult", 4}, Key{L"nMsgID", 4}, Key{L"szDeviceId", 2},
                         Key{L"szServer", 512}, Key{L"szCgi", 512}, Key{L"szCmd", 512}, Key{L"szObjPath", 512},
                         Key{L"iHttpPort", 4}, Key{L"szResHeader", 2048}, Key{L"szResFile", 2}, Key{L"nResFileSize", 4}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(k.key)));
        size = 0;
        ASSERT_TRUE(u.GetData(k.key, nullptr, size));
        EXPECT_EQ(k.size, size);
    }
    CCommandNetBlk back;
    UnpackNetBlk(package.GetPackagePtr(), package.GetPackageSize(), back);
    EXPECT_EQ(nullptr, back.pszXml);
    EXPECT_EQ(0, back.listArgument.GetCount());
    EXPECT_EQ(80, back.iHttpPort);
}

TEST(NetPackage, DamagedPackagesLeaveDefaults) {
    CCommandNetBlk b;
    strcpy(b.szServer, "server");
    b.pszXml = strdup("<x/>");
    b.listArgument.AddTail(L"a=1");
    CPackageBlk package(1);
    PackNetBlk(b, package);
    const auto* image = static_cast<const unsigned char*>(package.GetPackagePtr());
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        std::vector<unsigned char> bytes(image, image + package.GetPackageSize());
        if (round % 3 == 0) bytes.resize(rng() % bytes.size());
        if (bytes.size() > 8)
            for (int k = 0; k < 4; ++k) bytes[8 + rng() % (bytes.size() - 8)] = static_cast<unsigned char>(rng());
        CCommandNetBlk back;
        UnpackNetBlk(bytes.data(), static_cast<unsigned long>(bytes.size()), back);
        EXPECT_LT(strlen(back.szServer), 512u);
        EXPECT_LT(strlen(back.szResHeader), 2048u);
    }
}

TEST(NetPackage, ArgumentKeysAreNumberedInDecimal) {
    CCommandNetBlk b;
    for (int i = 0; i < 12; ++i) b.listArgument.AddTail(std::to_wstring(i * 7).c_str());
    CPackageBlk package(1);
    PackNetBlk(b, package);
    CUnpackageBlk u;
    ASSERT_TRUE(u.SetData(package.GetPackagePtr(), package.GetPackageSize()));
    for (int i = 0; i < 12; ++i) {
        const std::wstring key = L"Argument_" + std::to_wstring(i), want = std::to_wstring(i * 7);
        SCOPED_TRACE(testing::PrintToString(key));
        wchar_t item[8] = {};
        unsigned long size = sizeof(item);
        ASSERT_TRUE(u.GetData(key.c_str(), item, size));
        EXPECT_EQ(want, item);
    }
    unsigned long size = 0;
    EXPECT_FALSE(u.GetData(L"Argument_12", nullptr, size));
}
