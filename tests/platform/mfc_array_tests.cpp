// CArray: growth, insertion and removal keep elements whole and in order.
#include <gtest/gtest.h>
#include <afx.h>

TEST(CArray, KeepsOrderThroughGrowthInsertAndRemove) {
    CArray<CString, CString> a;
    for (int i = 0; i < 100; ++i) {
        CString s;
        s.Format(L"item%d", i);
        a.Add(s);
    }
    ASSERT_EQ(100, a.GetSize());
    a.InsertAt(0, CString(L"first"));
    a.InsertAt(50, CString(L"mid"), 2);
    a.RemoveAt(1, 3);          // item0..item2
    EXPECT_STREQ(L"first", a[0].GetString());
    EXPECT_STREQ(L"item3", a[1].GetString());
    EXPECT_STREQ(L"mid", a[47].GetString());
    EXPECT_STREQ(L"mid", a[48].GetString());
    EXPECT_STREQ(L"item99", a[a.GetUpperBound()].GetString());
    EXPECT_EQ(100, a.GetSize());
    a.RemoveAt(200);           // out of range: ignored
    EXPECT_EQ(100, a.GetSize());
}

TEST(CArray, AddOfOwnElementAndCopy) {
    CArray<CString, const CString&> a;
    a.Add(CString(L"x"));
    for (int i = 0; i < 20; ++i) a.Add(a[0]);   // argument lives in the array that grows
    EXPECT_EQ(21, a.GetSize());
    EXPECT_STREQ(L"x", a[20].GetString());
    CArray<CString, const CString&> b;
    b.Copy(a);
    b.Append(b);
    EXPECT_EQ(42, b.GetSize());
    b.SetSize(3);
    EXPECT_EQ(3, b.GetSize());
    b.SetSize(5);
    EXPECT_TRUE(b[4].IsEmpty());
    b.RemoveAll();
    EXPECT_TRUE(b.IsEmpty());
}
