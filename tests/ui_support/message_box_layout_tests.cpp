// Where the alterations put things: text style, buttons, the check box and the box itself,
// checked against a plain box of the same text, the owner window and the work area.
#include <gtest/gtest.h>
#include <Corelink.h>
#include <algorithm>
#include <unique_res.h>
#include "box_watch.h"

namespace {

const wchar_t kText[] = L"The handset was disconnected.\nConnect it again and press OK.";

struct Shape {
    RECT box{}, client{}, text{}, check{};   // screen coordinates
    std::vector<RECT> buttons;
    LONG textStyle = 0;
    bool hasCheck = false;
    SIZE checkTextExtent{};   // the check box's text in its font
};

// The client area of a window in screen coordinates.
RECT ClientOf(HWND h) {
    RECT r{};
    GetClientRect(h, &r);
    MapWindowPoints(h, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Opens a box with rec (or none), reads its shape and closes it with OK.
Shape OpenAndMeasure(SXMSGBOX* rec, UINT type = MB_OKCANCEL, const wchar_t* text = kText) {
    Shape s;
    BoxThread call([&] { return SxMessageBox(nullptr, U16(text), U16(L"Layout"), type, rec); });
    HWND box = WaitForBox(L"Layout");
    EXPECT_TRUE(box);
    if (!box) return s;
    s.box = RectOf(box);
    s.client = ClientOf(box);
    s.text = RectOf(TextControl(box));
    s.textStyle = GetWindowLongW(TextControl(box), GWL_STYLE);
    for (HWND b : Buttons(box)) s.buttons.push_back(RectOf(b));
    if (HWND c = GetDlgItem(box, IDC_SX_CHECKBOX)) {
        s.hasCheck = true;
        s.check = RectOf(c);
        win32::unique_dc dc(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(dc.get(), reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        std::wstring label = TextOf(c);
        GetTextExtentPoint32W(dc.get(), label.c_str(), int(label.size()), &s.checkTextExtent);
        SelectObject(dc.get(), old);
    }
    HWND first = Buttons(box).front();
    int id = GetDlgCtrlID(first);
    Click(first);
    EXPECT_TRUE(call.Wait());
    EXPECT_EQ(id, call.result());
    return s;
}

// The work area of the monitor nearest to pt; for the primary monitor the system's, which a
// session may have set (Wine keeps it apart from its monitor record).
RECT WorkArea(POINT pt) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &mi);
    if (mi.dwFlags & MONITORINFOF_PRIMARY) SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
    return mi.rcWork;
}

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }
LONG Middle(LONG a, LONG b) { return (a + b) / 2; }
LONG MiddleX(const RECT& r) { return Middle(r.left, r.right); }

// The check box lies inside the box's client area, holds its whole text beside the check
// mark, and is centred across the client area when asked, else starts at the text's left.
void ExpectCheckBoxPlaced(const Shape& s, bool centre) {
    EXPECT_GE(s.check.left, s.client.left);
    EXPECT_LE(s.check.right, s.client.right);
    EXPECT_LE(s.check.bottom, s.client.bottom);
    EXPECT_GT(s.checkTextExtent.cx, 0);
    EXPECT_GE(Width(s.check), s.checkTextExtent.cx + GetSystemMetrics(SM_CXMENUCHECK));
    EXPECT_GE(Height(s.check), std::max<LONG>(s.checkTextExtent.cy, GetSystemMetrics(SM_CYMENUCHECK)));
    if (centre) EXPECT_NEAR(MiddleX(s.client), MiddleX(s.check), 1);
    else EXPECT_EQ(s.text.left, s.check.left);
}

} // namespace

TEST(SxMessageBoxLayout, CentredTextAddsTheCentreStyleOnly) {
    SXMSGBOX rec{SX_MSGBOX_CENTER_TEXT, 0, nullptr, nullptr, 0, 0};
    Shape plain = OpenAndMeasure(nullptr);
    Shape centred = OpenAndMeasure(&rec);
    EXPECT_NE(SS_CENTER, plain.textStyle & SS_TYPEMASK);
    EXPECT_EQ(SS_CENTER, centred.textStyle & SS_TYPEMASK);
    EXPECT_EQ(plain.textStyle | SS_CENTER, centred.textStyle);
    EXPECT_EQ(Width(plain.box), Width(centred.box));
    EXPECT_EQ(Height(plain.box), Height(centred.box));
}

TEST(SxMessageBoxLayout, ButtonsPushedToTheRightKeepTheirSpacing) {
    SXMSGBOX rec{SX_MSGBOX_RIGHT_BUTTONS, 0, nullptr, nullptr, 0, 0};
    for (UINT type : {UINT(MB_OK), UINT(MB_OKCANCEL), UINT(MB_YESNOCANCEL)}) {
        SCOPED_TRACE(type);
        Shape plain = OpenAndMeasure(nullptr, type);
        Shape right = OpenAndMeasure(&rec, type);
        ASSERT_FALSE(right.buttons.empty());
        ASSERT_EQ(plain.buttons.size(), right.buttons.size());
        LONG margin = right.box.right - right.buttons.back().right;
        EXPECT_GT(margin, 0);
        EXPECT_LT(margin, 30);   // 7 dialog units, a few pixels either side of 10
        LONG shift = right.buttons[0].left - plain.buttons[0].left;
        EXPECT_GT(shift, 0);
        for (size_t i = 0; i < right.buttons.size(); ++i) {
            EXPECT_EQ(plain.buttons[i].left + shift, right.buttons[i].left);
            EXPECT_EQ(plain.buttons[i].top, right.buttons[i].top);
            EXPECT_EQ(Width(plain.buttons[i]), Width(right.buttons[i]));
        }
    }
}

// The check box sits below the text, holds its whole text, and the box grows by its height
// and the gap, pushing the buttons down by the same amount.
TEST(SxMessageBoxLayout, CheckBoxGrowsTheBox) {
    for (bool centre : {false, true}) {
        SCOPED_TRACE(centre ? "centred" : "at the text's left");
        UINT value = 0;
        SXMSGBOX rec{SX_MSGBOX_CHECKBOX | (centre ? UINT(SX_MSGBOX_CENTER) : 0u), 0,
                     U16(L"Do not show this hint again"), &value, 0, 0};
        Shape plain = OpenAndMeasure(nullptr);
        Shape with = OpenAndMeasure(&rec);
        ASSERT_TRUE(with.hasCheck);
        LONG grown = Height(with.box) - Height(plain.box);
        EXPECT_GT(grown, Height(with.check));
        EXPECT_LT(grown, Height(with.check) + 40);   // the gap is 8 dialog units
        EXPECT_EQ(Width(plain.box), Width(with.box));
        ASSERT_EQ(plain.buttons.size(), with.buttons.size());
        for (size_t i = 0; i < with.buttons.size(); ++i)
            EXPECT_EQ(plain.buttons[i].top - plain.box.top + grown, with.buttons[i].top - with.box.top);
        EXPECT_GT(with.check.top, with.text.bottom);
        EXPECT_LT(with.check.bottom, with.buttons.front().top);
        ExpectCheckBoxPlaced(with, centre);
    }
}

// A check-box text wider than the box it joins: the box widens to hold the check box with a
// margin, its buttons keep their place relative to the middle, and a centred check box sits
// in the middle of the client area.
TEST(SxMessageBoxLayout, LongCheckBoxTextWidensTheBox) {
    const wchar_t kShort[] = L"Saved.";
    const wchar_t kLongCheck[] = L"Do not show this hint again, not even when another handset is connected";
    for (bool centre : {false, true}) {
        SCOPED_TRACE(centre ? "centred" : "at the text's left");
        UINT value = 0;
        SXMSGBOX rec{SX_MSGBOX_CHECKBOX | (centre ? UINT(SX_MSGBOX_CENTER) : 0u), 0, U16(kLongCheck), &value, 0, 0};
        Shape plain = OpenAndMeasure(nullptr, MB_OK, kShort);
        Shape with = OpenAndMeasure(&rec, MB_OK, kShort);
        ASSERT_TRUE(with.hasCheck);
        EXPECT_GT(with.checkTextExtent.cx, 250);   // the case: a text of about 300 pixels
        EXPECT_GT(with.checkTextExtent.cx, Width(plain.client));
        EXPECT_GT(Width(with.box), Width(plain.box));
        ExpectCheckBoxPlaced(with, centre);
        // A margin on the right as wide as the one on the left.
        EXPECT_GE(with.client.right - with.check.right, centre ? with.check.left - with.client.left - 1
                                                               : std::min<LONG>(with.text.left - with.client.left, 8));
        EXPECT_EQ(plain.box.left, with.box.left);
        EXPECT_EQ(plain.box.top, with.box.top);
        ASSERT_EQ(1u, with.buttons.size());
        EXPECT_NEAR(MiddleX(plain.buttons[0]) - MiddleX(plain.client), MiddleX(with.buttons[0]) - MiddleX(with.client), 1);
        EXPECT_LE(with.buttons[0].right, with.client.right);
        EXPECT_LE(with.buttons[0].bottom, with.client.bottom);
    }
}

// The owner belongs to the test program's module, so the hook is installed with that module.
TEST(SxMessageBoxLayout, CentredOverTheOwner) {
    UINT value = 0;
    SXMSGBOX rec{SX_MSGBOX_CENTER | SX_MSGBOX_CHECKBOX, 0, U16(L"Centred check box"), &value, 0, 0};
    const RECT placements[] = {{100, 80, 900, 680}, {40, 500, 340, 700}, {700, 100, 1200, 300}};
    for (const RECT& want : placements) {
        SCOPED_TRACE(testing::Message() << want.left << "," << want.top);
        RECT owner{}, box{};
        BoxThread call([&] {
            win32::unique_hwnd parent(CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE | WS_BORDER, want.left,
                                                      want.top, Width(want), Height(want), nullptr, nullptr,
                                                      GetModuleHandleW(nullptr), nullptr));
            GetWindowRect(parent.get(), &owner);
            return SxMessageBox(parent.get(), U16(kText), U16(L"Centred"), MB_OK, &rec);
        });
        HWND h = WaitForBox(L"Centred");
        ASSERT_TRUE(h);
        box = RectOf(h);
        EXPECT_TRUE(GetDlgItem(h, IDC_SX_CHECKBOX));
        Click(ButtonById(h, IDOK));
        ASSERT_TRUE(call.Wait());
        LONG cx = (owner.left + owner.right) / 2, cy = (owner.top + owner.bottom) / 2;
        EXPECT_NEAR(cx, (box.left + box.right) / 2, 2);
        EXPECT_NEAR(cy, (box.top + box.bottom) / 2, 2);
    }
}

// Placed at a point, kept inside the nearest monitor's work area.
TEST(SxMessageBoxLayout, PlacedAtAPointInsideTheWorkArea) {
    struct Row { int x, y; };
    const Row rows[] = {{-500, -500}, {100, 120}, {5000, 5000}, {-300, 300}, {300, 4000}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.x << ", " << r.y << ")");
        SXMSGBOX rec{SX_MSGBOX_SET_POS, 0, nullptr, nullptr, r.x, r.y};
        Shape s = OpenAndMeasure(&rec);
        RECT work = WorkArea(POINT{r.x, r.y});
        LONG w = Width(s.box), h = Height(s.box);
        LONG x = std::min<LONG>(std::max<LONG>(r.x, work.left), work.right - w);
        LONG y = std::min<LONG>(std::max<LONG>(r.y, work.top), work.bottom - h);
        EXPECT_NEAR(x, s.box.left, 2);
        EXPECT_NEAR(y, s.box.top, 2);
        EXPECT_GE(s.box.left, work.left - 2);
        EXPECT_GE(s.box.top, work.top - 2);
        EXPECT_LE(s.box.right, work.right + 2);
        EXPECT_LE(s.box.bottom, work.bottom + 2);
    }
}

// A work area set for the session (a docked panel, a task bar) keeps the box out of the rest of
// the screen.
TEST(SxMessageBoxLayout, PlacedAtAPointInsideASetWorkArea) {
    RECT old{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &old, 0));
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    RECT smaller = {120, 80, sw - 150, sh - 200};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &smaller, 0));
    struct Row { int x, y; };
    const Row rows[] = {{0, 0}, {sw - 10, sh - 10}, {300, 300}};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "(" << r.x << ", " << r.y << ")");
        SXMSGBOX rec{SX_MSGBOX_SET_POS, 0, nullptr, nullptr, r.x, r.y};
        Shape s = OpenAndMeasure(&rec);
        EXPECT_GE(s.box.left, smaller.left - 2);
        EXPECT_GE(s.box.top, smaller.top - 2);
        EXPECT_LE(s.box.right, smaller.right + 2);
        EXPECT_LE(s.box.bottom, smaller.bottom + 2);
    }
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &old, 0);
}
