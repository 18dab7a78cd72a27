// SxMessageBox with string resources: the caption from the resources or, for caption 0, the
// application's name, so the box is recognised and altered either way.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <afxwin.h>
#include <unique_res.h>
#include "box_watch.h"
#include "message_box_strings.h"

TEST(SxMessageBoxResources, CaptionFromResourcesOrTheApplicationName) {
    CWinApp app(L"Resource Box App");
    struct Row { UINT captionId; const wchar_t* caption; };
    const Row rows[] = {{IDS_TEST_BOX_CAPTION, L"Resource caption"}, {0, L"Resource Box App"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        UINT value = 0;
        SXMSGBOX rec{SX_MSGBOX_CHECKBOX, 9, U16(L"Remember"), &value, 0, 0};
        BoxThread call([&] { return SxMessageBox(static_cast<CWnd*>(nullptr), IDS_TEST_BOX_TEXT, r.captionId, MB_OKCANCEL, &rec); });
        HWND box = WaitForBox(r.caption);
        ASSERT_TRUE(box);
        EXPECT_EQ(L"Resource text, 9 s left", TextOf(TextControl(box)));
        HWND check = GetDlgItem(box, IDC_SX_CHECKBOX);
        ASSERT_TRUE(check);
        Click(check);
        EXPECT_EQ(1u, value);
        Click(ButtonById(box, IDCANCEL));
        ASSERT_TRUE(call.Wait());
        EXPECT_EQ(IDCANCEL, call.result());
    }
}

// The owner comes from the CWnd: the box centres over its window.
TEST(SxMessageBoxResources, OwnerFromTheWindowObject) {
    SXMSGBOX rec{SX_MSGBOX_CENTER, 0, nullptr, nullptr, 0, 0};
    RECT owner{};
    BoxThread call([&] {
        win32::unique_hwnd parent(CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE | WS_BORDER, 60, 90, 700,
                                                  500, nullptr, nullptr, nullptr, nullptr));
        GetWindowRect(parent.get(), &owner);
        return SxMessageBox(CWnd::FromHandle(parent.get()), IDS_TEST_BOX_TEXT, IDS_TEST_BOX_CAPTION, MB_OK, &rec);
    });
    HWND box = WaitForBox(L"Resource caption");
    ASSERT_TRUE(box);
    RECT r = RectOf(box);
    EXPECT_TRUE(GetParent(box));
    EXPECT_NEAR((owner.left + owner.right) / 2, (r.left + r.right) / 2, 2);
    EXPECT_NEAR((owner.top + owner.bottom) / 2, (r.top + r.bottom) / 2, 2);
    Click(ButtonById(box, IDOK));
    ASSERT_TRUE(call.Wait());
    EXPECT_EQ(IDOK, call.result());
}
