// Boxes opening on two threads at once: each gets its own record and check box, and neither
// writes the other's value, before or after the other's call returned.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <unique_res.h>
#include "box_watch.h"

TEST(SxMessageBoxThreads, TwoBoxesAtOnceKeepTheirOwnRecords) {
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        win32::unique_handle go(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        UINT valueA = 0, valueB = 1;
        SXMSGBOX recA{SX_MSGBOX_CHECKBOX, 0, U16(L"Check A"), &valueA, 0, 0};
        SXMSGBOX recB{SX_MSGBOX_CHECKBOX | SX_MSGBOX_CENTER_TEXT, 0, U16(L"Check B"), &valueB, 0, 0};
        BoxThread a([&] {
            WaitForSingleObject(go.get(), INFINITE);
            return SxMessageBox(nullptr, U16(L"First thread"), U16(L"Thread A"), MB_OKCANCEL, &recA);
        });
        BoxThread b([&] {
            WaitForSingleObject(go.get(), INFINITE);
            return SxMessageBox(nullptr, U16(L"Second thread"), U16(L"Thread B"), MB_OKCANCEL, &recB);
        });
        SetEvent(go.get());
        HWND boxA = WaitForBox(L"Thread A");
        HWND boxB = WaitForBox(L"Thread B");
        ASSERT_TRUE(boxA && boxB);
        HWND checkA = GetDlgItem(boxA, IDC_SX_CHECKBOX);
        HWND checkB = GetDlgItem(boxB, IDC_SX_CHECKBOX);
        ASSERT_TRUE(checkA && checkB);
        EXPECT_EQ(L"Check A", TextOf(checkA));
        EXPECT_EQ(L"Check B", TextOf(checkB));
        EXPECT_EQ(BST_UNCHECKED, SendMessageW(checkA, BM_GETCHECK, 0, 0));
        EXPECT_EQ(BST_CHECKED, SendMessageW(checkB, BM_GETCHECK, 0, 0));
        EXPECT_NE(SS_CENTER, GetWindowLongW(TextControl(boxA), GWL_STYLE) & SS_TYPEMASK);
        EXPECT_EQ(SS_CENTER, GetWindowLongW(TextControl(boxB), GWL_STYLE) & SS_TYPEMASK);

        Click(checkA);
        EXPECT_EQ(1u, valueA);
        EXPECT_EQ(1u, valueB);
        Click(checkB);
        EXPECT_EQ(1u, valueA);
        EXPECT_EQ(0u, valueB);

        // A returns; B's clicks afterwards write only B's value.
        Click(ButtonById(boxA, IDCANCEL));
        ASSERT_TRUE(a.Wait());
        EXPECT_EQ(IDCANCEL, a.result());
        valueA = 7;
        Click(checkB);
        Click(checkB);
        Click(checkB);
        EXPECT_EQ(7u, valueA);
        EXPECT_EQ(1u, valueB);
        Click(ButtonById(boxB, IDOK));
        ASSERT_TRUE(b.Wait());
        EXPECT_EQ(IDOK, b.result());
        EXPECT_EQ(7u, valueA);
        EXPECT_EQ(1u, valueB);
    }
}
