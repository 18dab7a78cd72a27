// Hintbook.dll, the sibling message library, loaded by name as the library loads it.
#include <gtest/gtest.h>
#include <Hintbook.h>
#include <test_paths.h>
#include <unique_res.h>

namespace {

TEST(Hintbook, RemindTextsByTypeTimeAndNumber) {
    win32::unique_hmodule library(LoadLibraryW((BinFolder() + L"\\Hintbook.dll").c_str()));
    ASSERT_TRUE(library);
    auto remind = reinterpret_cast<HintbookRemindFn>(reinterpret_cast<void*>(GetProcAddress(library.get(), "GetRemindMessage")));
    ASSERT_NE(nullptr, remind);
    struct Row {
        int type, time, index;
        const wchar_t* contains;   // null: the text is empty
    } rows[] = {
        {0, 6, 1, L"(VX-200)"}, {0, 6, 28, L"(VX-200)"}, {0, 6, 29, L"infrared"}, {0, 6, 30, L"Bluetooth"},
        {0, 6, -1, nullptr},    {0, 6, 9999, nullptr},   {0, 5, 1, nullptr},      {7, 6, 1, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.type << "/" << r.time << "/" << r.index);
        CString text = remind(r.type, r.time, r.index);
        if (r.contains)
            EXPECT_GE(text.Find(r.contains), 0) << testing::PrintToString(std::wstring(text.GetString()));
        else
            EXPECT_TRUE(text.IsEmpty());
    }
}

} // namespace
