// The count-down: its texts, its end with the box's real default button, and the check box
// value written back into the caller's record while the box counts down.
#include <gtest/gtest.h>
#include <Corelink.h>
#include "box_watch.h"

// Opened checked, unchecked by the user, ended by the count-down: the texts 3, 2, 1, the
// default button, and 0 in the caller's value.
TEST(SxMessageBoxCountDown, CountsDownAndEndsWithTheDefaultButton) {
    UINT value = 1;
    SXMSGBOX rec{SX_MSGBOX_CHECKBOX, 3, U16(L"Keep me"), &value, 0, 0};
    DWORD start = GetTickCount();
    BoxThread call([&] { return SxMessageBox(nullptr, U16(L"Closing in (t) seconds"), U16(L"Count-down"), MB_OKCANCEL, &rec); });
    HWND box = WaitForBox(L"Count-down");
    ASSERT_TRUE(box);
    HWND text = TextControl(box);
    HWND check = GetDlgItem(box, IDC_SX_CHECKBOX);
    ASSERT_TRUE(text && check);
    std::vector<std::wstring> seen{TextOf(text)};
    EXPECT_TRUE(GetPropW(box, L"SxMsgBox"));   // the box's state
    EXPECT_EQ(BST_CHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
    Click(check);
    EXPECT_EQ(0u, value);

    while (!call.Wait(0)) {
        std::wstring now = TextOf(text);
        if (IsWindow(box) && !now.empty() && (seen.empty() || seen.back() != now)) seen.push_back(now);
        ASSERT_LT(GetTickCount() - start, 20000u) << "the box did not end by itself";
        Sleep(10);
    }
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ((std::vector<std::wstring>{L"Closing in 3 seconds", L"Closing in 2 seconds", L"Closing in 1 seconds"}), seen);
    EXPECT_EQ(IDOK, call.result());
    EXPECT_GE(elapsed, 2500u);   // three one-second steps
    EXPECT_EQ(0u, value);
    EXPECT_EQ(3u, rec.uTimeout);   // the box counts down its own copy
}

// The count-down ends with the button that is the box's default, whatever DM_GETDEFID answers.
TEST(SxMessageBoxCountDown, EndsWithTheRealDefaultButton) {
    struct Row { const char* name; UINT type; int result; };
    const Row rows[] = {
        {"MB_OKCANCEL", MB_OKCANCEL, IDOK},
        {"MB_OKCANCEL | MB_DEFBUTTON2", MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {"MB_YESNO", MB_YESNO, IDYES},
        {"MB_YESNO | MB_DEFBUTTON2", MB_YESNO | MB_DEFBUTTON2, IDNO},
        {"MB_YESNOCANCEL | MB_DEFBUTTON3", MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {"MB_ABORTRETRYIGNORE | MB_DEFBUTTON2", MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SXMSGBOX rec{0, 1, nullptr, nullptr, 0, 0};
        BoxThread call([&] { return SxMessageBox(nullptr, U16(L"Ends in (T) s"), U16(L"Default button"), r.type, &rec); });
        ASSERT_TRUE(call.Wait(20000));
        EXPECT_EQ(r.result, call.result());
    }
}
