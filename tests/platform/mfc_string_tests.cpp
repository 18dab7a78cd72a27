// CString: editing, searching, formatting.
#include <gtest/gtest.h>
#include <afx.h>

TEST(CString, EditingTable) {
    struct Case {
        const wchar_t* in;
        CString (*op)(CString);
        const wchar_t* out;
    };
    const Case cases[] = {
        {L"a-b-c", [](CString s) { s.Replace(L"-", L"--"); return s; }, L"a--b--c"},
        {L"aaa", [](CString s) { s.Replace(L"a", L""); return s; }, L""},
        {L"abcabc", [](CString s) { s.Replace(L"bc", L"X"); return s; }, L"aXaX"},
        {L"a.b.c", [](CString s) { s.Replace(L'.', L'/'); return s; }, L"a/b/c"},
        {L"a b  c", [](CString s) { s.Remove(L' '); return s; }, L"abc"},
        {L"  x y \t\r\n", [](CString s) { return s.Trim(); }, L"x y"},
        {L"--x--", [](CString s) { return s.TrimLeft(L"-"); }, L"x--"},
        {L"--x--", [](CString s) { return s.TrimRight(L"-"); }, L"--x"},
        {L"abc", [](CString s) { s.Insert(1, L"XY"); return s; }, L"aXYbc"},
        {L"abc", [](CString s) { s.Insert(9, L'Z'); return s; }, L"abcZ"},
        {L"abcdef", [](CString s) { s.Delete(2, 2); return s; }, L"abef"},
        {L"abcdef", [](CString s) { s.Delete(4, 99); return s; }, L"abcd"},
        {L"abcdef", [](CString s) { return s.Mid(2); }, L"cdef"},
        {L"abcdef", [](CString s) { return s.Mid(2, 3); }, L"cde"},
        {L"abcdef", [](CString s) { return s.Mid(5, 10); }, L"f"},
        {L"abcdef", [](CString s) { return s.Mid(9); }, L""},
        {L"abcdef", [](CString s) { return s.Left(2); }, L"ab"},
        {L"abcdef", [](CString s) { return s.Right(2); }, L"ef"},
        {L"abcdef", [](CString s) { return s.Right(20); }, L"abcdef"},
        {L"MiXeD", [](CString s) { return s.MakeUpper(); }, L"MIXED"},
        {L"MiXeD", [](CString s) { return s.MakeLower(); }, L"mixed"},
        {L"ab", [](CString s) { s += s; return s; }, L"abab"},
        {L"abc", [](CString s) { s = s.GetString() + 1; return s; }, L"bc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "input: " << CString(c.in).GetLength() << " units");
        EXPECT_STREQ(c.out, c.op(CString(c.in)).GetString());
    }
}

TEST(CString, Searching) {
    CString s(L"path\\to\\file.txt");
    EXPECT_EQ(7, s.ReverseFind(L'\\'));
    EXPECT_EQ(-1, s.ReverseFind(L'/'));
    EXPECT_EQ(4, s.Find(L'\\'));
    EXPECT_EQ(7, s.Find(L'\\', 5));
    EXPECT_EQ(8, s.Find(L"file"));
    EXPECT_EQ(-1, s.Find(L"file", 9));
    EXPECT_EQ(-1, s.Find(L'x', 100));
    EXPECT_EQ(4, s.FindOneOf(L"\\."));
    EXPECT_EQ(0, CString(L"Straße").CompareNoCase(L"STRAßE"));
    EXPECT_LT(CString(L"a").Compare(L"b"), 0);
    EXPECT_TRUE(CString(L"x") == L"x");
    EXPECT_TRUE(CString() == L"");
    EXPECT_TRUE(CString(L"") .IsEmpty());
}

TEST(CString, FormatUsesWindowsConventions) {
    CString s;
    s.Format(L"%s|%S|%d|%2d|%02d|%c", L"wide", "narrow", -5, 4, 4, L'z');
    EXPECT_STREQ(L"wide|narrow|-5| 4|04|z", s.GetString());
    CString big;
    big.Format(L"%s", CString(L'x', 5000).GetString());
    EXPECT_EQ(5000, big.GetLength());
    s.AppendFormat(L"+%u", 7u);
    EXPECT_STREQ(L"wide|narrow|-5| 4|04|z+7", s.GetString());
}

TEST(CString, BufferAndConversions) {
    CString s;
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(5, s.GetLength());
    s.GetBufferSetLength(2);
    EXPECT_STREQ(L"he", s.GetString());
    EXPECT_STREQ(L"abc", CString("abc").GetString());
    const unsigned short us[] = {'u', 's', 0};
    EXPECT_STREQ(L"us", CString(us).GetString());
    EXPECT_STREQ(L"", CString(static_cast<const wchar_t*>(nullptr)).GetString());
    EXPECT_STREQ(L"---", CString(L'-', 3).GetString());
    CString moved(static_cast<CString&&>(s));
    EXPECT_STREQ(L"he", moved.GetString());
    EXPECT_TRUE(s.IsEmpty());
}
