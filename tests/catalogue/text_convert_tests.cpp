// Text conversions and URL decoding.
#include <gtest/gtest.h>
#include <string.h>
#include <Corelink.h>

namespace {
const unsigned short* us(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }
}

TEST(TextConvert, MBSToWCSAndBack) {
    unsigned short w[8];
    EXPECT_EQ(4, MBSToWCS("abc", w, 4, false));
    EXPECT_STREQ(L"abc", reinterpret_cast<wchar_t*>(w));
    EXPECT_EQ(0, MBSToWCS("abc", w, 3, false));   // no room for the NUL
    EXPECT_EQ(0, w[0]);
    EXPECT_EQ(2, MBSToWCS("\xc3\xa9", w, 8, true));
    EXPECT_EQ(0xE9, w[0]);
    EXPECT_EQ(3, MBSToWCS("\xc3\xa9", w, 8, false));   // read as code page 1252: two characters
    EXPECT_EQ(0, MBSToWCS(nullptr, w, 8, true));
    EXPECT_EQ(0, w[0]);

    char b[8];
    EXPECT_EQ(3, WCSToMBS(us(L"\u00e9"), b, 8, true));
    EXPECT_STREQ("\xc3\xa9", b);
    EXPECT_EQ(2, WCSToMBS(us(L"\u00e9"), b, 8, false));
    EXPECT_STREQ("\xe9", b);
    EXPECT_EQ(0, WCSToMBS(us(L"abcdefghij"), b, 8, false));
    EXPECT_EQ(0, b[0]);

    EXPECT_EQ(2, UTF8ToMBS("\xc3\xa9", b, 8));
    EXPECT_STREQ("\xe9", b);
    EXPECT_EQ(3, MBSToUTF8("\xe9", b, 8));
    EXPECT_STREQ("\xc3\xa9", b);
    EXPECT_EQ(0, UTF8ToMBS(nullptr, b, 8));
}

TEST(TextConvert, UrlDecodeTable) {
    struct Case { const char* in; unsigned cap; int ret; const char* out; };
    const Case cases[] = {
        {"a%41%2b+", 16, 4, "aA++"},
        {"%4", 16, 1, "\x40"},
        {"abcdef", 4, -1, nullptr},
        {"", 1, 0, ""},
        {"x", 1, -1, nullptr},
        {"%zz", 16, 1, "\x53"},
        {"%", 16, 1, ""},          // a trailing "%" leaves a 0 byte at its position
        {"ab%", 16, 3, "ab"},
        {"%2", 16, 1, " "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        char buf[64];
        memset(buf, 0x7F, sizeof(buf));
        EXPECT_EQ(c.ret, url_decode(c.in, buf, c.cap));
        if (c.out) {
            EXPECT_EQ(0, memcmp(c.out, buf, strlen(c.out)));
            EXPECT_EQ(0, buf[c.ret]);
        }
        for (unsigned i = c.cap; i < sizeof(buf); ++i) ASSERT_EQ(0x7F, buf[i]) << "wrote past the buffer at " << i;
    }
    char one[1];
    EXPECT_EQ(-1, url_decode("x", one, 0));
    EXPECT_EQ(-1, url_decode("x", nullptr, 4));
    EXPECT_EQ(-1, url_decode(nullptr, one, 1));
    char pct[4];
    ASSERT_EQ(2, url_decode("a%", pct, 4));
    EXPECT_EQ(0, pct[1]);
}

TEST(TextConvert, Utf8AndCharacterSets) {
    EXPECT_EQ("", AppDB::ToUTF8(us(L"")));
    EXPECT_EQ("\xc3\xa9", AppDB::ToUTF8(us(L"\u00e9")));
    EXPECT_EQ("", AppDB::ToUTF8(static_cast<const unsigned short*>(nullptr)));
    EXPECT_EQ("\xc3\xa9", AppDB::ToUTF8("\x82"));   // OEM code page 437: 0x82 is e-acute
    EXPECT_EQ("'it''s' NULL 100%", AppDB::Format(const_cast<char*>("%Q %Q 100%%"), "it's", static_cast<const char*>(nullptr)));

    CString s(L"abcab");
    ReplaceChars(s, us(L"ab"), L'x');
    EXPECT_STREQ(L"xxcxx", s.GetString());
    CString r(L"abcab");
    RemoveChars(r, us(L"ab"));
    EXPECT_STREQ(L"c", r.GetString());
    RemoveChars(r, nullptr);
    ReplaceChars(r, nullptr, L'y');
    EXPECT_STREQ(L"c", r.GetString());
}
