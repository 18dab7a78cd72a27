// Foundation library: strings, lists and path helpers.
#include <gtest/gtest.h>
#include <string>
#include <BaseKit.h>
#include <UiPath.h>

namespace {
const unsigned short* us(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

CString joined(const CxStringList& list) { return list.ComposeToString(L"|", 0, 0, 0); }
}

TEST(CxStringList, AddTokensTable) {
    struct Case {
        const wchar_t* text;
        const wchar_t* seps;
        int anyChar, skipEmpty, trim, unique;
        int added;
        const wchar_t* items;
    };
    const Case cases[] = {
        {L"a*b**c*", L"*", 1, 1, 1, 0, 3, L"a|b|c"},
        {L"a*b**c*", L"*", 1, 0, 0, 0, 5, L"a|b||c|"},
        {L"l1\r\nl2\r\n\r\nl3", L"\r\n", 0, 0, 1, 0, 4, L"l1|l2||l3"},
        {L"l1\r\nl2\r\n\r\nl3", L"\r\n", 1, 1, 0, 0, 3, L"l1|l2|l3"},
        {L" x ; y ;x", L";", 1, 1, 1, 1, 2, L"x|y"},
        {L"", L"*", 1, 1, 1, 0, 0, L""},
        {L"whole", L"", 1, 0, 0, 0, 1, L"whole"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "text " << testing::PrintToString(std::wstring(c.text)) << ", separators "
                                        << testing::PrintToString(std::wstring(c.seps)));
        CxStringList list;
        EXPECT_EQ(c.added, list.AddTokens(c.text, c.seps, c.anyChar, c.skipEmpty, c.trim, c.unique));
        EXPECT_STREQ(c.items, joined(list).GetString());
    }
}

TEST(CxStringList, ComposeIterateAndCopy) {
    CxStringList list;
    list.AddTail(L"C:\\a.exe");
    list.AddTail(L"");
    list.AddTail(L"C:\\b.exe");
    EXPECT_STREQ(L"C:\\a.exe*C:\\b.exe*", list.ComposeToString(L"*", 1, 0, 1).GetString());
    EXPECT_STREQ(L"*C:\\a.exe**C:\\b.exe", list.ComposeToString(L"*", 0, 1, 0).GetString());

    CxStringList copy(list);
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    std::wstring seen;
    for (POSITION pos = copy.GetHeadPosition(); pos;) seen += std::wstring(copy.GetNext(pos)) + L";";
    EXPECT_EQ(L"C:\\a.exe;;C:\\b.exe;", seen);
    EXPECT_STREQ(L"C:\\b.exe", copy.GetItem(2).GetString());
    EXPECT_TRUE(copy.GetItem(3).IsEmpty());
    EXPECT_TRUE(copy.GetItem(-1).IsEmpty());
}

TEST(CxString, CodePageViewAndMid) {
    CxString s(L"caf\u00e9 \u20ac");   // ACP 1252 holds both
    EXPECT_STREQ("caf\xe9 \x80", s.GetMByteData());
    s = L"changed";
    EXPECT_STREQ("changed", s.GetMByteData());
    CxString mid = s.Mid(3, 2);
    EXPECT_STREQ(L"ng", mid.GetString());
    EXPECT_EQ(0, CxString(L"ABC").CompareNoCase(L"abc"));
}

TEST(FilePath, SplittingAndJoiningTable) {
    struct Case { const wchar_t* path; const wchar_t* folder; const wchar_t* folderSlash; const wchar_t* name; };
    const Case cases[] = {
        {L"C:\\Suite\\DockProc.exe", L"C:\\Suite", L"C:\\Suite\\", L"DockProc.exe"},
        {L"C:\\file.txt", L"C:\\", L"C:\\", L"file.txt"},
        {L"dir/sub/x.lng", L"dir/sub", L"dir/sub/", L"x.lng"},
        {L"plain.dll", L"", L"", L"plain.dll"},
        {L"c:\\qb_ui\\", L"c:\\qb_ui", L"c:\\qb_ui\\", L""},
        {L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.path)));
        EXPECT_STREQ(c.folder, GetFilePath(c.path, 0).GetString());
        EXPECT_STREQ(c.folderSlash, GetFilePath(c.path, 1).GetString());
        EXPECT_STREQ(c.name, GetFileNameOnly(us(c.path)).GetString());
        EXPECT_STREQ(c.name, GetFileName(CString(c.path)).GetString());
    }
    EXPECT_STREQ(L"C:\\Suite\\DockProc.exe", ToFullPathName(L"C:\\Suite", L"DockProc.exe").GetString());
    EXPECT_STREQ(L"C:\\Suite\\DockProc.exe", ToFullPathName(L"C:\\Suite\\", L"\\DockProc.exe").GetString());
}
