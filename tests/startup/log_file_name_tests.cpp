// Log file names and the log-folder test.
#include <gtest/gtest.h>
#include <log_file_name.h>
#include <test_paths.h>

TEST(LogFileName, DayIsPaddedWithABlank) {
    struct Case { WORD y, mo, d, h, mi, s; const wchar_t* folder; const wchar_t* name; };
    const Case cases[] = {
        {2012, 10, 4, 9, 30, 5, L"c:\\qb_ui", L"c:\\qb_ui\\1210 4_093005.log"},
        {2012, 12, 25, 23, 59, 59, L"c:\\qb_ui", L"c:\\qb_ui\\121225_235959.log"},
        {2000, 1, 1, 0, 0, 0, L"c:\\qb_eng", L"c:\\qb_eng\\0001 1_000000.log"},
        {2026, 2, 10, 7, 8, 9, L"c:\\qb_panel", L"c:\\qb_panel\\260210_070809.log"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d);
        SYSTEMTIME t{};
        t.wYear = c.y; t.wMonth = c.mo; t.wDay = c.d; t.wHour = c.h; t.wMinute = c.mi; t.wSecond = c.s;
        EXPECT_STREQ(c.name, LogFileName(c.folder, t).GetString());
    }
}

TEST(LogFileName, FolderTest) {
    std::wstring folder = NewTempFolder(L"logdir");
    EXPECT_TRUE(LogFolderExists(folder.c_str()));
    EXPECT_FALSE(LogFolderExists((folder + L"\\missing").c_str()));
    EXPECT_FALSE(LogFolderExists((folder + L"\\missing\\deeper").c_str()));
    EXPECT_FALSE(LogFolderExists((folder + L"\\").c_str()));   // empty name part
    EXPECT_FALSE(LogFolderExists(L""));
    EXPECT_FALSE(LogFolderExists(nullptr));
    RemoveTree(folder);
}
