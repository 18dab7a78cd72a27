// CArray: growth, insertion and removal keep elements whole and in order; array pools.
#include <gtest/gtest.h>
#include <afx.h>
#include <afxpool.h>
#include <stdlib.h>
#include <memory>

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

namespace {

int g_chunksLive = 0, g_chunksMade = 0;
void* take_chunk(size_t bytes) {
    ++g_chunksLive;
    ++g_chunksMade;
    return malloc(bytes);
}
void give_chunk(void* chunk) {
    --g_chunksLive;
    free(chunk);
}

} // namespace

// Array pools: storage is cut from the opener's chunks, and a chunk goes back to the opener
// once its pool is closed and the last array cut from it is gone; pools nest.
TEST(CArrayPool, ChunksComeFromTheOpenerAndGoBackWithTheirLastArray) {
    auto kept = std::make_unique<CArray<int, int>>();
    {
        AfxArrayPoolScope pool(take_chunk, give_chunk);
        CArray<int, int> a;
        for (int i = 0; i < 100; ++i) {
            a.Add(i);
            kept->Add(i);
        }
        {
            AfxArrayPoolScope inner;   // C heap chunks
            CArray<int, int> b;
            b.Add(1);
        }
        CArray<int, int> c;   // the outer pool's again
        c.Add(1);
        EXPECT_EQ(1, g_chunksMade);
        EXPECT_EQ(1, g_chunksLive);
    }
    EXPECT_EQ(1, g_chunksLive);   // kept still holds a block of it
    for (int i = 0; i < 100; ++i) ASSERT_EQ(i, (*kept)[i]);
    kept.reset();
    EXPECT_EQ(0, g_chunksLive);
}

// The pool is found through a thread slot, whose reading clears the last error: an
// allocation between a failing call and GetLastError must not lose it.
TEST(CArrayPool, AnArrayAllocationKeepsTheLastError) {
    AfxArrayPoolScope pool;
    SetLastError(ERROR_FILE_NOT_FOUND);
    CArray<int, int> a;
    a.Add(1);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}
