// Named in-process queues and key/value packages.
#include <gtest/gtest.h>
#include <BaseKit.h>
#include <process.h>
#include <string.h>
#include <unique_res.h>
#include <random>
#include <string>
#include <vector>

namespace {

std::string take(CxSysMsgQueue& q, DWORD timeout = 0) {
    MSGQUEUE_INFO info{};
    void* m = q.GetMessage(timeout, &info, 1);
    if (!m) return "<none>";
    std::string s(static_cast<char*>(m), info.dwSize);
    CxSysMsgQueue::FreeMessage(m);
    return s;
}

} // namespace

TEST(CxSysMsgQueue, SameNameSameQueueOldestFirst) {
    CxSysMsgQueue writer(L"NET_RECV_QUEUE", 2048, 0);
    CxSysMsgQueue reader(L"NET_RECV_QUEUE", 2048, 0);
    CxSysMsgQueue other(L"NET_SEND_QUEUE", 2048, 0);
    ASSERT_TRUE(writer.InsertMessage("one", 3, 0, nullptr));
    ASSERT_TRUE(writer.InsertMessage("two", 3, 0, nullptr));
    ASSERT_TRUE(writer.InsertMessage("", 0, 0, nullptr));
    EXPECT_EQ(3u, reader.GetCount());
    EXPECT_EQ(0u, other.GetCount());

    MSGQUEUE_INFO info{};
    void* peek = reader.GetMessage(0, &info, 0);   // look without taking
    ASSERT_NE(nullptr, peek);
    CxSysMsgQueue::FreeMessage(peek);
    EXPECT_EQ(3u, info.dwSize);
    EXPECT_EQ(3u, reader.GetCount());

    EXPECT_EQ("one", take(reader));
    EXPECT_EQ("two", take(reader));
    EXPECT_EQ("", take(reader));
    EXPECT_EQ("<none>", take(reader, 20));
    EXPECT_FALSE(writer.InsertMessage(nullptr, 4, 0, nullptr));
}

TEST(CxSysMsgQueue, BoundedCapacityRefusesWhenFull) {
    CxSysMsgQueue q(L"corelink bounded", 3, 0);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(q.InsertMessage(&i, sizeof(i), 0, nullptr));
    int extra = 9;
    EXPECT_FALSE(q.InsertMessage(&extra, sizeof(extra), 0, nullptr));
    EXPECT_EQ(3u, q.GetCount());
    take(q);
    EXPECT_TRUE(q.InsertMessage(&extra, sizeof(extra), 0, nullptr));
}

TEST(CxSysMsgQueue, QueueEndsWithItsLastObject) {
    {
        CxSysMsgQueue a(L"corelink transient", 8, 0);
        a.InsertMessage("x", 1, 0, nullptr);
    }
    CxSysMsgQueue b(L"corelink transient", 8, 0);
    EXPECT_EQ(0u, b.GetCount());
}

namespace {
unsigned __stdcall insert_later(void*) {
    CxSysMsgQueue q(L"corelink wake", 16, 0);
    Sleep(100);
    q.InsertMessage("late", 4, 0, nullptr);
    return 0;
}
}

TEST(CxSysMsgQueue, WaitingReaderGetsAMessageInsertedByAnotherThread) {
    CxSysMsgQueue q(L"corelink wake", 16, 0);
    win32::unique_handle t(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, insert_later, nullptr, 0, nullptr)));
    EXPECT_EQ("late", take(q, 30000));
    WaitForSingleObject(t.get(), INFINITE);
}

TEST(CPackageBlk, RoundTripOfKeysInOrder) {
    CPackageBlk pkg(1);
    const unsigned long hwnd = 0x1234, msg = 4;
    char server[512] = "example.invalid";
    const wchar_t file[] = L"C:\\temp\\DCx1.tmp";
    ASSERT_TRUE(pkg.Add(L"hWnd", &hwnd, 4));
    ASSERT_TRUE(pkg.Add(L"nMsg", &msg, 4));
    ASSERT_TRUE(pkg.Add(L"szServer", server, sizeof(server)));
    ASSERT_TRUE(pkg.Add(L"szResFile", file, sizeof(file)));
    ASSERT_TRUE(pkg.Add(L"empty", nullptr, 0));
    EXPECT_FALSE(pkg.Add(nullptr, &msg, 4));
    EXPECT_FALSE(pkg.Add(L"bad", nullptr, 4));

    CUnpackageBlk un;
    ASSERT_TRUE(un.SetData(pkg.GetPackagePtr(), pkg.GetPackageSize()));
    unsigned long v = 0, size = 4;
    ASSERT_TRUE(un.GetData(L"hWnd", &v, size));
    EXPECT_EQ(hwnd, v);
    char small[8] = {};
    size = sizeof(small) - 1;
    ASSERT_TRUE(un.GetData(L"szServer", small, size));   // cut to the buffer, whole size told
    EXPECT_EQ(512u, size);
    EXPECT_STREQ("example", small);
    wchar_t back[64] = {};
    size = sizeof(back);
    ASSERT_TRUE(un.GetData(L"szResFile", back, size));
    EXPECT_STREQ(file, back);
    size = 99;
    ASSERT_TRUE(un.GetData(L"empty", nullptr, size));
    EXPECT_EQ(0u, size);
    size = 4;
    EXPECT_FALSE(un.GetData(L"missing", &v, size));
    EXPECT_EQ(4u, size);
}

TEST(CUnpackageBlk, TruncatedAndGarbageImagesNeverReadOutOfBounds) {
    CPackageBlk pkg(1);
    const unsigned long a = 1, b = 2;
    pkg.Add(L"first", &a, 4);
    pkg.Add(L"second", &b, 4);
    const auto* image = static_cast<const unsigned char*>(pkg.GetPackagePtr());
    const unsigned long whole = pkg.GetPackageSize();

    // Every prefix: a key is readable exactly when all of its bytes are there.
    const unsigned long firstEnd = 8 + 4 + 10 + 4 + 4;
    for (unsigned long n = 0; n <= whole; ++n) {
        SCOPED_TRACE(n);
        std::vector<unsigned char> cut(image, image + n);   // exact-size copy: overruns show
        CUnpackageBlk un;
        un.SetData(cut.empty() ? nullptr : cut.data(), n);
        unsigned long v = 0, size = 4;
        EXPECT_EQ(n >= firstEnd, un.GetData(L"first", &v, size) != FALSE);
        size = 4;
        EXPECT_EQ(n == whole, un.GetData(L"second", &v, size) != FALSE);
    }

    // Random bytes after a valid header, and random mutations of a real image: an item whose
    // bytes were not touched reads back whole; whatever else is found lies inside the image.
    const unsigned long firstValue = firstEnd - 4;
    std::mt19937 rng(20261210);
    for (int round = 0; round < 2000; ++round) {
        SCOPED_TRACE(round);
        std::vector<unsigned char> bytes(image, image + whole);
        bool firstIntact = false;
        if (round % 2) {
            bytes.resize(8 + rng() % 64);
            for (size_t i = 4; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(rng());
        } else {
            firstIntact = true;
            for (int k = 0; k < 3; ++k) {
                const size_t at = rng() % bytes.size();
                const unsigned char v = static_cast<unsigned char>(rng());
                if (at < firstEnd && bytes[at] != v) firstIntact = false;
                bytes[at] = v;
            }
        }
        CUnpackageBlk un;
        const bool header = un.SetData(bytes.data(), static_cast<unsigned long>(bytes.size())) != FALSE;
        EXPECT_EQ(memcmp(bytes.data(), "XPK1", 4) == 0, header);
        for (const wchar_t* key : {L"first", L"second"}) {
            unsigned long v = 0, size = 4;
            if (un.GetData(key, &v, size)) {
                EXPECT_LE(size, bytes.size() - 8) << testing::PrintToString(std::wstring(key));
            }
        }
        unsigned long v = 0, size = 4;
        if (firstIntact) {
            // The count may have been raised or the second item damaged; the first item stands.
            ASSERT_TRUE(un.GetData(L"first", &v, size));
            EXPECT_EQ(4u, size);
            EXPECT_EQ(a, v);
            EXPECT_EQ(0, memcmp(&bytes[firstValue], &v, 4));
        }
    }
    CUnpackageBlk un;
    EXPECT_FALSE(un.SetData("junk", 4));
}
