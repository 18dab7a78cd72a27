// Named mutexes for every user: the "already exists" answer of their creation.
#include <gtest/gtest.h>
#include <string>
#include <shared_mutex.h>

namespace {
std::wstring unique_name(const wchar_t* tag) {
    return std::wstring(L"corelink_test_") + tag + L"_" + std::to_wstring(GetCurrentProcessId());
}
}

TEST(SharedMutex, TellsWhetherTheMutexExistedBefore) {
    const std::wstring name = unique_name(L"mutex");
    SetLastError(ERROR_ALREADY_EXISTS);   // left over from an earlier call: not the answer
    SharedMutex first = OpenSharedMutex(name.c_str());
    ASSERT_TRUE(first.handle);
    EXPECT_FALSE(first.existed);
    SharedMutex second = OpenSharedMutex(name.c_str());
    ASSERT_TRUE(second.handle);
    EXPECT_TRUE(second.existed);
    EXPECT_NE(first.handle.get(), second.handle.get());

    // A name held by another kind of object: no mutex, and no "already exists".
    const std::wstring eventName = unique_name(L"event");
    win32::unique_handle event(CreateEventW(nullptr, FALSE, FALSE, eventName.c_str()));
    ASSERT_TRUE(event);
    SharedMutex clash = OpenSharedMutex(eventName.c_str());
    EXPECT_FALSE(clash.handle);
    EXPECT_FALSE(clash.existed);
}
