// CStringList: order, positions, insertion, removal and search.
#include <gtest/gtest.h>
#include <afxcoll.h>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> items(const CStringList& l) {
    std::vector<std::wstring> out;
    for (POSITION pos = l.GetHeadPosition(); pos;) out.push_back(static_cast<const wchar_t*>(l.GetNext(pos)));
    return out;
}

std::vector<std::wstring> items_backwards(const CStringList& l) {
    std::vector<std::wstring> out;
    for (POSITION pos = l.GetTailPosition(); pos;) out.push_back(static_cast<const wchar_t*>(l.GetPrev(pos)));
    return out;
}

TEST(CStringList, OrderThroughAddInsertAndRemove) {
    CStringList l(10);
    EXPECT_TRUE(l.IsEmpty());
    EXPECT_EQ(nullptr, l.GetHeadPosition());
    EXPECT_EQ(nullptr, l.FindIndex(0));
    l.AddTail(L"b");
    l.AddTail(L"c");
    l.AddHead(L"a");
    POSITION c = l.Find(L"c");
    ASSERT_NE(nullptr, c);
    l.InsertBefore(c, L"b2");
    l.InsertAfter(c, L"d");
    l.InsertBefore(nullptr, L"first");
    l.InsertAfter(nullptr, L"last");
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"a", L"b", L"b2", L"c", L"d", L"last"}), items(l));
    EXPECT_EQ((std::vector<std::wstring>{L"last", L"d", L"c", L"b2", L"b", L"a", L"first"}), items_backwards(l));
    EXPECT_EQ(7, l.GetCount());

    EXPECT_STREQ(L"first", l.RemoveHead());
    EXPECT_STREQ(L"last", l.RemoveTail());
    l.RemoveAt(l.Find(L"b2"));
    l.SetAt(l.FindIndex(0), L"A");
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"b", L"c", L"d"}), items(l));
    EXPECT_STREQ(L"A", l.GetHead());
    EXPECT_STREQ(L"d", l.GetTail());
    EXPECT_STREQ(L"c", l.GetAt(l.FindIndex(2)));
    EXPECT_EQ(nullptr, l.FindIndex(4));
    EXPECT_EQ(nullptr, l.FindIndex(-1));

    l.RemoveAll();
    EXPECT_EQ(0, l.GetCount());
    EXPECT_STREQ(L"", l.RemoveHead());   // nothing to remove: an empty text
}

TEST(CStringList, FindIsExactAndContinuesAfterAPosition) {
    CStringList l;
    for (const wchar_t* s : {L"x", L"X", L"x", L""}) l.AddTail(s);
    struct Row { const wchar_t* text; int startAfter; int expected; };
    const Row rows[] = {{L"x", -1, 0}, {L"x", 0, 2}, {L"x", 2, -1}, {L"X", -1, 1}, {L"", -1, 3}, {nullptr, -1, 3}, {L"y", -1, -1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.text ? r.text : L"(null)") << " after " << r.startAfter);
        POSITION found = l.Find(r.text, r.startAfter < 0 ? nullptr : l.FindIndex(r.startAfter));
        EXPECT_EQ(r.expected < 0 ? nullptr : l.FindIndex(r.expected), found);
    }
}

TEST(CStringList, AppendingAnotherList) {
    CStringList a, b;
    a.AddTail(L"1");
    b.AddTail(L"2");
    b.AddTail(L"3");
    a.AddTail(&b);
    a.AddHead(&b);
    a.AddTail(&a);   // itself: nothing
    EXPECT_EQ((std::vector<std::wstring>{L"2", L"3", L"1", L"2", L"3"}), items(a));
    EXPECT_EQ(2, b.GetCount());
}

} // namespace
