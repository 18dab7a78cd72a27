// GDI objects and device contexts of the MFC subset.
#include <gtest/gtest.h>
#include <afxwin.h>
#include "gui_watch.h"
#include "platform_test_ids.h"
#include "test_resource_module.h"

namespace {

// A memory DC with a w × h bitmap selected, compatible with the screen.
struct Canvas {
    CDC dc;
    CBitmap bmp;
    CBitmap* old = nullptr;
    Canvas(int w, int h) {
        CClientDC screen(nullptr);
        dc.CreateCompatibleDC(&screen);
        bmp.CreateCompatibleBitmap(&screen, w, h);
        old = dc.SelectObject(&bmp);
    }
    ~Canvas() { dc.SelectObject(old); }
};

TEST(MfcGdi, BitmapFromTheResourceChainCopiedAndStretched) {
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(IDB_TEST_RED));   // not registered yet
    EXPECT_EQ(nullptr, missing.m_hObject);

    ResourceModule res;
    ASSERT_TRUE(res.Ok());
    CBitmap red;
    ASSERT_TRUE(red.LoadBitmap(IDB_TEST_RED));
    BITMAP bm{};
    ASSERT_TRUE(red.GetBitmap(&bm));
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);

    CDC src;
    ASSERT_TRUE(src.CreateCompatibleDC(nullptr));
    CBitmap* prev = src.SelectObject(&red);
    ASSERT_NE(nullptr, prev);

    Canvas out(16, 8);
    out.dc.FillSolidRect(0, 0, 16, 8, RGB(255, 255, 255));
    EXPECT_TRUE(out.dc.BitBlt(0, 0, 4, 2, &src, 0, 0, SRCCOPY));
    EXPECT_TRUE(out.dc.StretchBlt(8, 0, 8, 8, &src, 0, 0, 4, 2, SRCCOPY));
    struct Row { int x, y; COLORREF expected; };
    for (const Row& r : {Row{0, 0, RGB(255, 0, 0)}, Row{3, 1, RGB(255, 0, 0)}, Row{4, 0, RGB(255, 255, 255)},
                         Row{0, 2, RGB(255, 255, 255)}, Row{15, 7, RGB(255, 0, 0)}, Row{8, 0, RGB(255, 0, 0)}}) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
        EXPECT_EQ(r.expected, GetPixel(out.dc, r.x, r.y));
    }
    // Putting the old bitmap back hands out a temporary wrapper of ours, not our object.
    CBitmap* back = src.SelectObject(prev);
    ASSERT_NE(nullptr, back);
    EXPECT_NE(&red, back);
    EXPECT_EQ(red.m_hObject, back->m_hObject);
    EXPECT_EQ(back, CBitmap::FromHandle(static_cast<HBITMAP>(red.m_hObject)));
}

TEST(MfcGdi, FillFrameAndObjectsReleasedByTheirOwners) {
    Canvas c(10, 10);
    c.dc.FillSolidRect(CRect(0, 0, 10, 10), RGB(0, 0, 255));
    CBrush frame(RGB(0, 255, 0));
    ASSERT_NE(nullptr, frame.m_hObject);
    c.dc.FrameRect(CRect(2, 2, 8, 8), &frame);
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(c.dc, 2, 2));
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(c.dc, 7, 7));
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(c.dc, 4, 4));   // inside: untouched
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(c.dc, 1, 1));

    HGDIOBJ pen;
    {
        CPen p(PS_SOLID, 1, RGB(1, 2, 3));
        pen = p.m_hObject;
        EXPECT_EQ(OBJ_PEN, GetObjectType(pen));
    }
    EXPECT_EQ(0u, GetObjectType(pen));   // deleted with its object
    CBrush kept;
    ASSERT_TRUE(kept.CreateSolidBrush(RGB(9, 9, 9)));
    HGDIOBJ raw = kept.Detach();
    EXPECT_EQ(OBJ_BRUSH, GetObjectType(raw));   // given up, not deleted
    DeleteObject(raw);
}

TEST(MfcGdi, FontsAndTextMeasurement) {
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, L"Tahoma"));
    LOGFONTW lf{};
    ASSERT_TRUE(font.GetLogFont(&lf));
    CClientDC screen(nullptr);
    EXPECT_EQ(-MulDiv(10, screen.GetDeviceCaps(LOGPIXELSY), 72), lf.lfHeight);
    EXPECT_STREQ(L"Tahoma", lf.lfFaceName);

    Canvas c(200, 50);
    CFont* old = c.dc.SelectObject(&font);
    EXPECT_EQ(font.m_hObject, c.dc.GetCurrentFont()->m_hObject);
    CSize one = c.dc.GetTextExtent(CString(L"W")), two = c.dc.GetTextExtent(L"WW", 2);
    EXPECT_GT(one.cx, 0);
    EXPECT_GT(two.cx, one.cx);
    EXPECT_EQ(one.cy, two.cy);
    CRect rc(0, 0, 1000, 0);
    c.dc.DrawText(CString(L"W"), &rc, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(one.cx, rc.Width());
    c.dc.SetBkMode(TRANSPARENT);
    EXPECT_EQ(RGB(0, 0, 0), c.dc.SetTextColor(RGB(200, 0, 0)));
    EXPECT_EQ(RGB(200, 0, 0), c.dc.GetTextColor());
    EXPECT_TRUE(c.dc.TextOut(0, 0, CString(L"text")));
    c.dc.SelectObject(old);
}

// A window that paints itself through CPaintDC.
class CPaintedWnd : public CWnd {
public:
    int paints = 0;
    CSize painted;

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++paints;
        CRect rc;
        GetClientRect(&rc);
        dc.FillSolidRect(&rc, RGB(10, 20, 30));
        painted = rc.Size();
    }
    BOOL OnEraseBkgnd(CDC* pDC) { return pDC != nullptr; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPaintedWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

TEST(MfcGdi, PaintAndClientDeviceContextsOfAWindow) {
    GUI_TEST_REQUIRES_DISPLAY();
    CPaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"painted", WS_POPUP | WS_VISIBLE,
                             20, 20, 120, 60, nullptr, nullptr));
    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_TRUE(gui::PumpUntil([&] { return wnd.paints > 0; }));
    EXPECT_EQ(CSize(120, 60), wnd.painted);

    CDC* dc = wnd.GetDC();
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(dc, CDC::FromHandle(dc->m_hDC));   // one wrapper per handle
    EXPECT_EQ(1, wnd.ReleaseDC(dc));
    {
        CClientDC client(&wnd);
        EXPECT_NE(nullptr, client.m_hDC);
    }
    wnd.DestroyWindow();
}

} // namespace
