// SxMessageBox with string resources: the caption from the resources or, for caption 0, the
// application's name, so the box is recognised and altered either way.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <afxwin.h>
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
