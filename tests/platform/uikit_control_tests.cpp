// The controls library: combo box and edit helpers, the window text font, the splash window.
#include <gtest/gtest.h>
#include <CxControls.h>
#include <SplashWindow.h>
#include "gui_watch.h"

namespace {

// A hidden top-level window to put controls on.
struct Host : CWnd {
    Host() { CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"host", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr); }
};

CxStringList list_of(std::initializer_list<const wchar_t*> items) {
    CxStringList l;
    for (const wchar_t* s : items) l.AddTail(s);
    return l;
}

std::vector<std::wstring> rows_of(const CComboBox& cb) {
    std::vector<std::wstring> out;
    for (int i = 0; i < cb.GetCount(); ++i) {
        CString s;
        cb.GetLBText(i, s);
        out.push_back(static_cast<const wchar_t*>(s));
    }
    return out;
}

TEST(CxComboBox, FillsInListOrderAndWritesItsEditPart) {
    GUI_TEST_REQUIRES_DISPLAY();
    Host host;
    CxComboBox edit, list;
    ASSERT_TRUE(edit.Create(WS_CHILD | CBS_DROPDOWN | CBS_AUTOHSCROLL, CRect(0, 0, 150, 100), &host, 1));
    ASSERT_TRUE(list.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 30, 150, 130), &host, 2));

    // No sorting: list order; bAppend 0 replaces, 1 appends.
    EXPECT_EQ(3, edit.FillStringList(list_of({L"Zeta", L"alpha", L"Mu"})));
    EXPECT_EQ((std::vector<std::wstring>{L"Zeta", L"alpha", L"Mu"}), rows_of(edit));
    EXPECT_EQ(1, edit.FillStringList(list_of({L"nu"}), 1));
    EXPECT_EQ(4, edit.GetCount());
    EXPECT_EQ(0, edit.FillStringList(list_of({})));
    EXPECT_EQ(0, edit.GetCount());
    CStringList mfcList;
    mfcList.AddTail(L"first");
    mfcList.AddTail(L"second");
    EXPECT_EQ(2, edit.FillStringList(mfcList));
    EXPECT_EQ((std::vector<std::wstring>{L"first", L"second"}), rows_of(edit));

    struct Row { const wchar_t* text; int limit; const wchar_t* shown; };
    const Row rows[] = {
        {L"free text", 0, L"free text"},
        {L"0123456789AB", 10, L"0123456789"},
        {L"", 0, L""},
        {nullptr, 0, L""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.text ? r.text : L"(null)");
        edit.SetEditBox(r.text, r.limit);
        EXPECT_STREQ(r.shown, edit.GetEditBox());
    }
    // The limit holds for typing too.
    edit.SetEditBox(L"", 4);
    HWND inner = FindWindowExW(edit.m_hWnd, nullptr, L"Edit", nullptr);
    ASSERT_NE(nullptr, inner);
    gui::Type(inner, L"abcdef");
    EXPECT_STREQ(L"abcd", edit.GetEditBox());

    // A drop-down list selects the row with exactly that text.
    list.FillStringList(list_of({L"one", L"two", L"Two"}));
    list.SetEditBox(L"Two");
    EXPECT_EQ(2, list.GetCurSel());
    EXPECT_STREQ(L"Two", list.GetEditBox());
    list.SetEditBox(L"three");
    EXPECT_EQ(-1, list.GetCurSel());
    EXPECT_STREQ(L"", list.GetEditBox());

    CxComboBox unbound;
    EXPECT_EQ(0, unbound.FillStringList(list_of({L"x"})));
    EXPECT_STREQ(L"", unbound.GetEditBox());
}

TEST(CxEdit, WritesAndReadsItsText) {
    GUI_TEST_REQUIRES_DISPLAY();
    Host host;
    CxEdit ed;
    ASSERT_TRUE(ed.Create(WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 150, 20), &host, 3));
    ed.SetEditBox(L"name.txt");
    EXPECT_STREQ(L"name.txt", ed.GetEditBox());
    int a = -1, b = -1;
    ed.GetSel(a, b);
    EXPECT_EQ(8, a);   // the caret after the text
    EXPECT_EQ(8, b);
    ed.SetEditBox(L"\u65E5\u672C\u8A9E\u306E\u540D\u524D", 4);
    EXPECT_STREQ(L"\u65E5\u672C\u8A9E\u306E", ed.GetEditBox());
    EXPECT_EQ(4u, ed.GetLimitText());
    CxEdit unbound;
    EXPECT_STREQ(L"", unbound.GetEditBox());
    unbound.SetEditBox(L"ignored");
}

int height_of(const CFont& f) {
    LOGFONTW lf{};
    f.GetLogFont(&lf);
    return lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
}

TEST(CreateWndTextFont, MessageFontOrWindowFontWithAdjustedHeight) {
    GUI_TEST_REQUIRES_DISPLAY();
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    const int base = ncm.lfMessageFont.lfHeight < 0 ? -ncm.lfMessageFont.lfHeight : ncm.lfMessageFont.lfHeight;

    Host host;
    CxEdit ed;
    ASSERT_TRUE(ed.Create(WS_CHILD, CRect(0, 0, 100, 20), &host, 4));
    struct Row { const char* name; const wchar_t* face; int adjust; int height; const wchar_t* expectFace; };
    const Row rows[] = {
        {"plain", nullptr, 0, base, ncm.lfMessageFont.lfFaceName},
        {"two smaller", nullptr, -2, base - 2, ncm.lfMessageFont.lfFaceName},
        {"other face", L"Courier New", 3, base + 3, L"Courier New"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CFont f;
        ASSERT_TRUE(CreateWndTextFont(&ed, nullptr, f, r.face, TRUE, r.adjust));   // the edit has no font yet
        LOGFONTW lf{};
        f.GetLogFont(&lf);
        EXPECT_EQ(r.height, height_of(f));
        EXPECT_STREQ(r.expectFace, lf.lfFaceName);
    }

    // One font shared by several controls: a font object that holds a font keeps it.
    CFont shared;
    ASSERT_TRUE(CreateWndTextFont(&ed, nullptr, shared, nullptr, TRUE, 0));
    HGDIOBJ first = shared.m_hObject;
    ed.SetFont(&shared);
    ASSERT_TRUE(CreateWndTextFont(&ed, nullptr, shared, nullptr, TRUE, -2));
    EXPECT_EQ(first, shared.m_hObject);
    EXPECT_EQ(OBJ_FONT, GetObjectType(first));

    // The window's own font is the starting point when asked for.
    CFont big, fromWindow, fromSystem;
    ASSERT_TRUE(big.CreatePointFont(200, L"Tahoma"));
    ed.SetFont(&big);
    ASSERT_TRUE(CreateWndTextFont(&ed, nullptr, fromWindow, nullptr, TRUE, 0));
    ASSERT_TRUE(CreateWndTextFont(&ed, nullptr, fromSystem, nullptr, FALSE, 0));
    EXPECT_EQ(height_of(big), height_of(fromWindow));
    EXPECT_EQ(base, height_of(fromSystem));
    ed.SetFont(nullptr, FALSE);
}

const SPLASH_STYLE_INFO kNotifyStyle = {10, 10, 2, RGB(255, 255, 220), 0, 0, 0};

CRect work_area() {
    CRect rc;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

TEST(ShowSplashWindow, ATopmostPopupWithTheTextAtTheBottomRight) {
    GUI_TEST_REQUIRES_DISPLAY();
    struct Row { const char* name; const SPLASH_STYLE_INFO* style; BOOL icon; DWORD flags; };
    const Row rows[] = {
        {"notify style with icon", &kNotifyStyle, TRUE, SPLASH_ICON_INFORMATION},
        {"default style without icon", nullptr, FALSE, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const wchar_t* text = L"Handset connected.\nThe phone book is being read.";
        HWND h = ShowSplashWindow(text, 0, nullptr, 0, 0, r.flags, r.icon, r.style);
        ASSERT_NE(nullptr, h);
        EXPECT_TRUE(IsWindowVisible(h));
        EXPECT_TRUE(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD);
        EXPECT_EQ(text, gui::TextOf(h));
        EXPECT_EQ(SPLASH_WINDOW_CLASS, gui::ClassOf(h));
        EXPECT_NE(h, GetActiveWindow());   // it does not take the focus

        CRect rc, work = work_area();
        GetWindowRect(h, &rc);
        EXPECT_LE(rc.right, work.right);
        EXPECT_LE(rc.bottom, work.bottom);
        EXPECT_GE(rc.right, work.right - 16);
        EXPECT_GE(rc.bottom, work.bottom - 16);
        // Room for two lines of text and the padding around them.
        const SPLASH_STYLE_INFO& s = r.style ? *r.style : SPLASH_STYLE_INFO{10, 10, 1, 0, 0, 0, 0};
        EXPECT_GT(rc.Height(), 2 * (s.nPaddingY + s.nBorder) + 2 * 8);
        EXPECT_GT(rc.Width(), 2 * (s.nPaddingX + s.nBorder) + 50);

        PostMessageW(h, WM_CLOSE, 0, 0);
        EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }));
    }
}

TEST(ShowSplashWindow, PlacedWhereAskedInsideTheWorkAreaAndClosedByItsTimeOrAClick) {
    GUI_TEST_REQUIRES_DISPLAY();
    CRect work = work_area();
    HWND at = ShowSplashWindow(L"here", 0, nullptr, work.left + 30, work.top + 40, 0, FALSE, &kNotifyStyle);
    ASSERT_NE(nullptr, at);
    CRect rc;
    GetWindowRect(at, &rc);
    EXPECT_EQ(CPoint(work.left + 30, work.top + 40), rc.TopLeft());

    HWND off = ShowSplashWindow(L"pushed back in", 0, nullptr, work.right + 500, work.bottom + 500, 0, FALSE, &kNotifyStyle);
    ASSERT_NE(nullptr, off);
    GetWindowRect(off, &rc);
    EXPECT_EQ(work.right, rc.right);
    EXPECT_EQ(work.bottom, rc.bottom);

    HWND timed = ShowSplashWindow(L"short-lived", 30, nullptr, 0, 0, 0, FALSE, &kNotifyStyle);
    ASSERT_NE(nullptr, timed);
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(timed); }));

    SendMessageW(at, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(gui::PumpUntil([&] { return !IsWindow(at); }));
    DestroyWindow(off);
    EXPECT_FALSE(IsWindow(off));
}

} // namespace
