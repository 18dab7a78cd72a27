// The skinned menu button and its list on real windows, driven with the mouse.
#include <gtest/gtest.h>
#include "controls_test_support.h"
#include "unique_res.h"
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

using namespace controls_test;

namespace {

const unsigned short* U(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

CRect WindowRect(const CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    return r;
}

// A parent at (x, y) with a menu button of items A, B, C at its top left.
struct ButtonOnParent {
    CRecordingParent parent;
    CTestMenuButton button;
    bool ok = false;
    ButtonOnParent(int x = 60, int y = 60, int items = 3, int width = 140) {
        ok = parent.CreateAt(x, y, 260, 200) &&
             button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 10 + width, 30), &parent, kButtonId);
        for (int i = 0; i < items; ++i) {
            wchar_t text[8] = {static_cast<wchar_t>(L'A' + i % 26), 0};
            button.AddString(U(text));
        }
        button.SetNotifyMessage(kNotifyMsg);
        parent.UpdateWindow();
    }
};

// Clicks the button and waits for its list to open; null when it did not. The clicks fall on
// alternate thirds of the button, so that two in a row are never taken for a double click
// (which an owner-drawn button reports as BN_DOUBLECLICKED instead).
CxMenuList* ClickOpen(CxMenuButton& button) {
    static int turn = 0;
    CRect b = WindowRect(button);
    gui::MouseClick(b.left + b.Width() * (1 + turn++ % 2) / 3, b.top + b.Height() / 2);
    CxMenuList* list = nullptr;
    gui::PumpUntil([&] { return (list = OpenList()) != nullptr; }, gui::ms(5000));
    return list;
}

// The screen point in the middle of row i of an open list.
CPoint RowPoint(CxMenuList* list, int i) {
    CRect r = WindowRect(*list);
    return CPoint(r.left + r.Width() / 2, r.top + i * list->GetItemHeight() + list->GetItemHeight() / 2);
}

// Moves onto row i and waits for the list to highlight it, then releases there.
bool ChooseRow(CxMenuList* list, int i) {
    HWND h = list->m_hWnd;
    CPoint p = RowPoint(list, i);
    gui::MouseMove(p.x, p.y);
    if (!gui::PumpUntil([&] { return !IsWindow(h) || list->GetHover() == i; }, gui::ms(5000))) return false;
    gui::MouseClick(p.x, p.y);
    return gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(5000));
}

// Refuses every popup window owned by s_refusedOwner (a thread hook).
HWND s_refusedOwner;
LRESULT CALLBACK RefusePopups(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lp)->lpcs;
        if ((cs->style & WS_POPUP) && cs->hwndParent && GetAncestor(cs->hwndParent, GA_ROOT) == s_refusedOwner) return 1;
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

} // namespace

TEST(MenuButton, TakesItsSizeFromTheSkin) {
    GUI_TEST_REQUIRES_DISPLAY();
    CRecordingParent parent;
    ASSERT_TRUE(parent.CreateAt(40, 40, 300, 200));
    struct Row { const char* name; CRect rect; bool subclass; int width; };
    const Row rows[] = {
        {"created narrow", CRect(5, 5, 15, 15), false, 60},
        {"created wide", CRect(5, 50, 145, 70), false, 140},
        {"subclassed narrow", CRect(5, 100, 30, 110), true, 60},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CxMenuButton button;
        if (r.subclass) {
            HWND plain = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.rect.left, r.rect.top,
                                         r.rect.Width(), r.rect.Height(), parent.m_hWnd, nullptr, nullptr, nullptr);
            ASSERT_TRUE(button.SubclassWindow(plain));
        } else {
            ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, r.rect, &parent, kButtonId));
        }
        CRect w = WindowRect(button);
        parent.ScreenToClient(&w);
        EXPECT_EQ(28, w.Height());
        EXPECT_EQ(r.width, w.Width());
        EXPECT_EQ(r.rect.TopLeft(), w.TopLeft());
        EXPECT_EQ(28, button.GetSkinConfig().nHeight);
    }

    // Another skin: its height, and at least its three parts' width.
    CxMenuButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(5, 150, 25, 160), &parent, kButtonId));
    button.SetSkinBitmap(30500, CxMenuButton::SkinConfig{20, 10, 30, 40});
    EXPECT_EQ(20, WindowRect(button).Height());
    EXPECT_EQ(80, WindowRect(button).Width());
    // A skin without height leaves the window as it is.
    button.SetSkinBitmap(30500, CxMenuButton::SkinConfig{0, 10, 30, 40});
    EXPECT_EQ(20, WindowRect(button).Height());
}

TEST(MenuButton, ItemsSelectionAndSearch) {
    CxMenuButton button;   // no window needed
    EXPECT_EQ(-1, button.GetCurSel());
    EXPECT_EQ(0, button.AddString(U(L"A")));
    EXPECT_EQ(1, button.AddString(U(L"B")));
    EXPECT_EQ(2, button.AddString(U(L"A")));

    struct Row { int startAfter; const wchar_t* text; int found; };
    const Row rows[] = {
        {1, L"A", 2}, {2, L"A", 0}, {-1, L"A", 0}, {0, L"A", 2}, {-5, L"B", 1},
        {1, L"B", 1},   // the search ends at its start
        {0, L"a", -1},  // case counts
        {0, L"AB", -1}, {-1, L"C", -1}, {7, L"B", 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.startAfter << " " << static_cast<char>(r.text[0]));
        EXPECT_EQ(r.found, button.SelectString(r.startAfter, U(r.text)));
        EXPECT_EQ(-1, button.GetCurSel());
    }

    EXPECT_EQ(-1, button.SetCurSel(3));
    EXPECT_EQ(-1, button.SetCurSel(-1));
    EXPECT_EQ(2, button.SetCurSel(2));
    EXPECT_EQ(2, button.GetCurSel());

    // Item data: every row in range keeps its own, out of range nothing is stored.
    struct DataRow { int index; unsigned long data; unsigned long stored; };
    const DataRow data[] = {{0, 55, 55}, {1, 77, 77}, {2, 9, 9}, {3, 5, 0}, {9, 5, 0}, {-1, 4, 0}};
    for (const DataRow& d : data) EXPECT_EQ(d.index, button.SetItemData(d.index, d.data));
    for (const DataRow& d : data) {
        SCOPED_TRACE(d.index);
        EXPECT_EQ(d.stored, button.GetItemData(d.index));
    }

    // Deleting past the end changes nothing; deleting the selected last item leaves the
    // selection pointing past the items.
    EXPECT_EQ(3, button.DeleteString(3));
    EXPECT_EQ(2, button.DeleteString(2));
    EXPECT_EQ(2, button.GetCurSel());
    EXPECT_EQ(2, button.GetCount());

    CxMenuButton::Item items[] = {{L"one", 1}, {L"two", 2}};
    button.SetMenuItems(items, 2);
    EXPECT_EQ(2, button.GetCount());
    EXPECT_STREQ(L"two", button.GetMenuItems()[1].strText);
    EXPECT_EQ(2u, button.GetItemData(1));
    EXPECT_EQ(2, button.GetCurSel());
    button.SetMenuItems(items, 0);
    EXPECT_EQ(0, button.GetCount());

    button.SetCaption(L"Choose");
    EXPECT_STREQ(L"Choose", button.GetCaption());
    EXPECT_TRUE(button.GetUpdateCaption());
    button.SetUpdateCaption(false);
    EXPECT_FALSE(button.GetUpdateCaption());
}

// The button as DrawItem paints it on a 160 x 28 bitmap in the given item state.
std::vector<DWORD> Render(CxMenuButton& button, UINT itemState = 0) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 160;
    bi.bmiHeader.biHeight = -28;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    win32::unique_gdi dib(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    win32::unique_dc dc(CreateCompatibleDC(nullptr));
    if (!dib || !dc) return {};
    HGDIOBJ old = SelectObject(dc.get(), dib.get());
    SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    DRAWITEMSTRUCT dis{ODT_BUTTON, kButtonId, 0, ODA_DRAWENTIRE, itemState, nullptr, dc.get(), {0, 0, 160, 28}, 0};
    button.DrawItem(&dis);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 160 * 28);
    SelectObject(dc.get(), old);
    return pixels;
}

TEST(MenuButton, PaintsTheCaptionOrTheSelectionInTheRowOfItsState) {
    // Compared with each other, not with stored pictures: two states that must look alike
    // paint the same pixels, two that must differ do not.
    auto make = [](CTestMenuButton& b, int sel, bool update) {
        b.AddString(U(L"Memory card"));
        b.AddString(U(L"Phone"));
        b.SetCaption(L"Save to");
        if (sel >= 0) b.SetCurSel(sel);
        b.SetUpdateCaption(update);
    };
    CTestMenuButton caption, selected, notUpdating, deletedSelection, dropped;
    make(caption, -1, true);
    make(selected, 1, true);
    make(notUpdating, 1, false);
    make(deletedSelection, 1, true);
    deletedSelection.DeleteString(1);
    make(dropped, -1, true);
    dropped.SetDropped(true);

    const std::vector<DWORD> plain = Render(caption);
    ASSERT_EQ(160u * 28u, plain.size());
    EXPECT_NE(plain, Render(selected));                      // the selected item's text
    EXPECT_EQ(plain, Render(notUpdating));                   // always the caption
    EXPECT_EQ(plain, Render(deletedSelection));              // a selection past the items
    EXPECT_NE(plain, Render(caption, ODS_SELECTED));         // the pressed row
    EXPECT_EQ(Render(caption, ODS_SELECTED), Render(dropped));   // open looks pressed
    EXPECT_NE(plain, Render(caption, ODS_DISABLED));
    EXPECT_NE(Render(caption, ODS_SELECTED), Render(caption, ODS_DISABLED));
    EXPECT_EQ(Render(caption, ODS_DISABLED), Render(dropped, ODS_DISABLED));   // disabled wins
    EXPECT_NE(plain, Render(caption, ODS_FOCUS));                               // the focus cue
    EXPECT_EQ(plain, Render(caption, ODS_FOCUS | ODS_NOFOCUSRECT));             // hidden until keys are used
}

TEST(MenuButton, ChoosingWithTheMouseNotifiesTheParentInOrder) {
    GUI_TEST_REQUIRES_DISPLAY();
    ButtonOnParent w;
    ASSERT_TRUE(w.ok);

    struct Row { const char* name; int row; std::vector<std::string> log; };
    const Row rows[] = {
        {"B, a change", 1, {"xmb 2025 1", "selendok", "xmb 2027 1", "selchange"}},
        {"B again", 1, {"xmb 2025 1", "selendok"}},
        {"C", 2, {"xmb 2025 2", "selendok", "xmb 2027 2", "selchange"}},
        {"A", 0, {"xmb 2025 0", "selendok", "xmb 2027 0", "selchange"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        w.parent.log.clear();
        CxMenuList* list = ClickOpen(w.button);
        ASSERT_NE(nullptr, list);
        EXPECT_TRUE(w.button.Dropped());
        // Directly below the button, as wide as it, one row per item.
        CRect b = WindowRect(w.button), l = WindowRect(*list);
        EXPECT_EQ(b.left, l.left);
        EXPECT_EQ(b.bottom, l.top);
        EXPECT_EQ(b.Width(), l.Width());
        EXPECT_EQ(3 * list->GetItemHeight(), l.Height());
        EXPECT_EQ(list->GetListRect(), l);
        EXPECT_EQ(list->m_hWnd, ::GetCapture());

        ASSERT_TRUE(ChooseRow(list, r.row));
        EXPECT_EQ(r.log, w.parent.log);
        EXPECT_EQ(r.row, w.button.GetCurSel());
        EXPECT_FALSE(w.button.Dropped());
        EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(L'A' + r.row)), gui::TextOf(w.button.m_hWnd));
    }

    // Without an extra message only the WM_COMMANDs arrive.
    w.button.SetNotifyMessage(0);
    w.parent.log.clear();
    CxMenuList* list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    ASSERT_TRUE(ChooseRow(list, 1));
    EXPECT_EQ((std::vector<std::string>{"selendok", "selchange"}), w.parent.log);
}

TEST(MenuButton, TheListFollowsTheMouseAndCancelsOutside) {
    GUI_TEST_REQUIRES_DISPLAY();
    ButtonOnParent w;
    ASSERT_TRUE(w.ok);
    w.button.SetCurSel(2);

    // The list opens on the selection, and a release without a move chooses it.
    CxMenuList* list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    HWND h = list->m_hWnd;
    EXPECT_EQ(2, list->GetHover());
    w.parent.log.clear();
    CPoint at = RowPoint(list, 2);
    list->ScreenToClient(&at);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ((std::vector<std::string>{"xmb 2025 2", "selendok"}), w.parent.log);
    EXPECT_EQ(2, w.button.GetCurSel());

    list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    h = list->m_hWnd;
    EXPECT_EQ(2, list->GetHover());
    for (int row : {0, 1, 2, 0}) {
        SCOPED_TRACE(row);
        CPoint p = RowPoint(list, row);
        gui::MouseMove(p.x, p.y);
        EXPECT_TRUE(gui::PumpUntil([&] { return list->GetHover() == row; }, gui::ms(5000)));
    }
    // Off the list (the mouse is captured): no row.
    CRect l = WindowRect(*list);
    gui::MouseMove(l.right + 20, l.top + 2);
    EXPECT_TRUE(gui::PumpUntil([&] { return list->GetHover() == -1; }, gui::ms(5000)));

    // Released outside: the cancel notifications, the selection as it was.
    w.parent.log.clear();
    gui::MouseClick(l.right + 20, l.top + 2);
    ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(5000)));
    EXPECT_EQ((std::vector<std::string>{"xmb 2026 2", "selendcancel"}), w.parent.log);
    EXPECT_EQ(2, w.button.GetCurSel());
    EXPECT_FALSE(w.button.Dropped());
    EXPECT_EQ(nullptr, ::GetCapture());

    // Released on a row while none is highlighted: the row under the release is chosen.
    list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    h = list->m_hWnd;
    gui::MouseMove(l.right + 30, l.top + 4);
    ASSERT_TRUE(gui::PumpUntil([&] { return list->GetHover() == -1; }, gui::ms(5000)));
    w.parent.log.clear();
    at = RowPoint(list, 2);
    list->ScreenToClient(&at);
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ((std::vector<std::string>{"xmb 2025 2", "selendok"}), w.parent.log);
    EXPECT_EQ(2, w.button.GetCurSel());
    EXPECT_FALSE(w.button.Dropped());

    // Another application becoming active closes it the same way.
    list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    h = list->m_hWnd;
    w.parent.log.clear();
    SendMessageW(h, WM_ACTIVATEAPP, FALSE, 0);
    ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(5000)));
    EXPECT_EQ((std::vector<std::string>{"xmb 2026 2", "selendcancel"}), w.parent.log);
    EXPECT_FALSE(w.button.Dropped());

    // Losing the focus to another window lets the mouse go at once, and closes it the same way.
    list = ClickOpen(w.button);
    ASSERT_NE(nullptr, list);
    h = list->m_hWnd;
    w.parent.log.clear();
    SendMessageW(h, WM_KILLFOCUS, 0, 0);
    EXPECT_NE(h, ::GetCapture());
    ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(5000)));
    EXPECT_EQ((std::vector<std::string>{"xmb 2026 2", "selendcancel"}), w.parent.log);
}

// A parent that heard CBN_DROPDOWN hears the list close, as a cancel, even when no list could
// open; nothing is chosen.
TEST(MenuButton, NothingOpensWithoutItemsOrWithoutAList) {
    GUI_TEST_REQUIRES_DISPLAY();
    const std::vector<std::string> cancelled = {"xmb 2026 -1", "selendcancel"};
    const std::vector<std::string> told = {"setfocus", "dropdown", "selendcancel", "closeup"};
    {
        SCOPED_TRACE("no items");
        ButtonOnParent w(60, 60, 0);
        ASSERT_TRUE(w.ok);
        w.parent.SetForegroundWindow();
        w.button.SendMessage(BM_CLICK);
        EXPECT_EQ(nullptr, OpenList());
        EXPECT_FALSE(w.button.Dropped());
        EXPECT_EQ(cancelled, w.parent.log);
        EXPECT_EQ(told, w.parent.told);
        EXPECT_EQ(-1, w.button.GetCurSel());
    }
    {
        SCOPED_TRACE("the list window cannot be made");
        ButtonOnParent w;
        ASSERT_TRUE(w.ok);
        w.parent.SetForegroundWindow();
        s_refusedOwner = w.parent.m_hWnd;
        win32::unique_hook hook(SetWindowsHookExW(WH_CBT, RefusePopups, nullptr, GetCurrentThreadId()));
        ASSERT_TRUE(hook);
        w.button.SendMessage(BM_CLICK);
        hook.reset();
        EXPECT_EQ(nullptr, OpenList());
        EXPECT_FALSE(w.button.Dropped());
        EXPECT_EQ(cancelled, w.parent.log);
        EXPECT_EQ(told, w.parent.told);
        EXPECT_EQ(-1, w.button.GetCurSel());
        // It opens once windows can be made again.
        CxMenuList* list = ClickOpen(w.button);
        ASSERT_NE(nullptr, list);
        SendMessageW(list->m_hWnd, WM_ACTIVATEAPP, FALSE, 0);
    }
}

TEST(MenuButton, AButtonThatGoesTakesItsOpenListWithIt) {
    GUI_TEST_REQUIRES_DISPLAY();
    // A window of its own that sees a mark posted after everything else.
    CRecordingParent witness;
    ASSERT_TRUE(witness.CreateAt(400, 400, 40, 40));
    enum How { DeleteObject, DestroyButtonWindow, DestroyParentWindow };
    struct Row { const char* name; How how; };
    const Row rows[] = {
        {"the object is deleted", DeleteObject},
        {"the button's window goes first", DestroyButtonWindow},
        {"the parent's window goes first", DestroyParentWindow},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CRecordingParent parent;
        ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
        auto button = std::make_unique<CTestMenuButton>();
        ASSERT_TRUE(button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId));
        button->AddString(U(L"A"));
        button->AddString(U(L"B"));
        CxMenuList* list = ClickOpen(*button);
        ASSERT_NE(nullptr, list);
        HWND h = list->m_hWnd;
        // A choice of row B on its way to the list.
        CPoint b = RowPoint(list, 1);
        list->ScreenToClient(&b);
        PostMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(b.x, b.y));
        PostMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));

        if (r.how == DeleteObject) button.reset();
        else if (r.how == DestroyButtonWindow) ::DestroyWindow(button->m_hWnd);
        else parent.DestroyWindow();
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(nullptr, OpenList());
        EXPECT_EQ(nullptr, ::GetCapture());
        if (button) {
            EXPECT_FALSE(button->Dropped());
            button.reset();
        }

        // The choice finds no list: nothing was chosen or cancelled.
        witness.log.clear();
        witness.PostMessage(kNotifyMsg, 7, 7);
        ASSERT_TRUE(gui::PumpUntil([&] { return !witness.log.empty(); }, gui::ms(5000)));
        EXPECT_TRUE(parent.log.empty());
    }
}

// A parent that goes when it hears the list close, as a picker that closes on a choice does.
class CClosingParent : public CRecordingParent {
public:
    bool heard = false;
    bool listWasOpen = false;

protected:
    void Closed() {
        heard = true;
        listWasOpen = OpenList() != nullptr;
        DestroyWindow();
    }
    void OnSelEndOk() { Closed(); }
    void OnSelEndCancel() { Closed(); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CClosingParent, CRecordingParent)
    ON_CONTROL(CBN_SELENDOK, kButtonId, OnSelEndOk)
    ON_CONTROL(CBN_SELENDCANCEL, kButtonId, OnSelEndCancel)
END_MESSAGE_MAP()

TEST(MenuButton, AParentMayGoWhenItHearsTheListClose) {
    GUI_TEST_REQUIRES_DISPLAY();
    struct Row { const char* name; bool choose; };
    const Row rows[] = {{"a choice", true}, {"a cancel", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CClosingParent parent;
        ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
        auto button = std::make_unique<CTestMenuButton>();
        ASSERT_TRUE(button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId));
        button->AddString(U(L"A"));
        button->AddString(U(L"B"));
        CxMenuList* list = ClickOpen(*button);
        ASSERT_NE(nullptr, list);
        HWND h = list->m_hWnd;
        if (r.choose) {
            ASSERT_TRUE(ChooseRow(list, 1));
        } else {
            CRect l = WindowRect(*list);
            gui::MouseClick(l.right + 20, l.top + 2);
            ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(h); }, gui::ms(5000)));
        }
        EXPECT_TRUE(parent.heard);
        EXPECT_FALSE(parent.listWasOpen);   // the list had gone before the parent was told
        EXPECT_FALSE(IsWindow(parent.m_hWnd));
        EXPECT_EQ(nullptr, button->m_hWnd);
        EXPECT_EQ(r.choose ? 1 : -1, button->GetCurSel());
        button.reset();
        EXPECT_EQ(nullptr, OpenList());
    }
}

// Sets the system's work area while it lives, and puts the old one back.
class ScopedWorkArea {
public:
    explicit ScopedWorkArea(const RECT* area) {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &old_, 0);
        if (area) set_ = SystemParametersInfoW(SPI_SETWORKAREA, 0, const_cast<RECT*>(area), 0) != FALSE;
    }
    ~ScopedWorkArea() {
        if (set_) SystemParametersInfoW(SPI_SETWORKAREA, 0, &old_, 0);
    }
    CRect Now() const {
        RECT r;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
        return CRect(r);
    }

private:
    RECT old_{};
    bool set_ = false;
};

TEST(MenuButton, TheListStaysInTheWorkArea) {
    GUI_TEST_REQUIRES_DISPLAY();
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    // A work area smaller than the screen on every side that matters, as a task bar or a
    // docked panel leaves it.
    const RECT smaller = {100, 0, sw - 150, sh - 200};
    struct Row { const char* name; const RECT* area; int x, y, items; };
    const Row rows[] = {
        {"room below", nullptr, 60, 60, 3},
        {"at the bottom: moved up", nullptr, 60, sh - 120, 10},
        {"at the right edge: moved left", nullptr, sw - 100, 60, 3},
        {"below the work area: moved up", &smaller, 160, sh - 260, 6},
        {"right of the work area: moved left", &smaller, sw - 200, 60, 3},
        {"left of the work area: moved right", &smaller, 40, 60, 3},
        {"more rows than the work area holds: the rows that fit", &smaller, 160, 60, 60},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ScopedWorkArea area(r.area);
        const CRect work = area.Now();
        if (r.area) {
            ASSERT_EQ(CRect(*r.area), work);
        }
        ButtonOnParent w(r.x, r.y, r.items, 140);
        ASSERT_TRUE(w.ok);
        CxMenuList* list = ClickOpen(w.button);
        ASSERT_NE(nullptr, list);
        CRect b = WindowRect(w.button), l = WindowRect(*list);
        const int shown = std::min(r.items, work.Height() / list->GetItemHeight());
        EXPECT_EQ(shown * list->GetItemHeight(), l.Height());
        EXPECT_EQ(b.Width(), l.Width());
        EXPECT_LE(l.bottom, work.bottom);
        EXPECT_LE(l.right, work.right);
        EXPECT_GE(l.left, work.left);
        EXPECT_EQ(b.bottom + l.Height() > work.bottom ? work.bottom - l.Height() : b.bottom, l.top);
        EXPECT_EQ(b.right > work.right ? work.right - l.Width() : b.left < work.left ? work.left : b.left, l.left);
        // A row of the moved list is still chosen where it shows.
        w.parent.log.clear();
        ASSERT_TRUE(ChooseRow(list, shown - 1));
        EXPECT_EQ(shown - 1, w.button.GetCurSel());
    }
}

namespace {

// One key as typed, with Alt held or not.
struct Key {
    WORD vk;
    bool alt = false;
};

// Counts the key releases the thread takes from its queue.
int s_keyUps;
LRESULT CALLBACK CountKeyUps(int code, WPARAM removed, LPARAM lp) {
    const MSG* m = reinterpret_cast<const MSG*>(lp);
    if (code == HC_ACTION && removed == PM_REMOVE && (m->message == WM_KEYUP || m->message == WM_SYSKEYUP)) ++s_keyUps;
    return CallNextHookEx(nullptr, code, removed, lp);
}

// Handles this thread's messages as a dialog's loop does (IsDialogMessage for the window dlg)
// until cond() holds; false at the timeout.
bool PumpDialogUntil(HWND dlg, const std::function<bool()>& cond, gui::ms timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsWindow(dlg) || !IsDialogMessageW(dlg, &m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
        if (cond()) return true;
        if (std::chrono::steady_clock::now() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Types keys through the system's input (to the focused window, as a user types) and handles
// them as a dialog does, until the last key's release has been taken and the queue is empty.
bool TypeKeys(HWND dlg, std::initializer_list<Key> keys) {
    win32::unique_hook hook(SetWindowsHookExW(WH_GETMESSAGE, CountKeyUps, nullptr, GetCurrentThreadId()));
    if (!hook) return false;
    s_keyUps = 0;
    int ups = 0;
    auto press = [](WORD vk, bool up) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = vk;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        SendInput(1, &in, sizeof(in));
    };
    for (const Key& k : keys) {
        if (k.alt) press(VK_MENU, false);
        press(k.vk, false);
        press(k.vk, true);
        if (k.alt) press(VK_MENU, true);
        ups += k.alt ? 2 : 1;
    }
    return PumpDialogUntil(dlg, [&] {
        MSG m;
        return s_keyUps >= ups && !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
    }, gui::ms(10000));
}

// A parent that also logs the dialog commands that Enter and Escape give ("idok", "idcancel").
class CKeyParent : public CRecordingParent {
protected:
    void OnOk() { log.push_back("idok"); }
    void OnCancel() { log.push_back("idcancel"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CKeyParent, CRecordingParent)
    ON_COMMAND(IDOK, OnOk)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

const wchar_t* const kFruit[] = {L"Apple", L"Banana", L"Cherry", L"Blueberry"};

// A parent worked as a dialog: a push button OK, then the menu button with the four fruit, both
// tab stops; the focus on OK.
struct KeyboardWindow {
    CKeyParent parent;
    CTestMenuButton button;
    HWND ok = nullptr;
    bool made = false;
    KeyboardWindow() {
        made = parent.CreateAt(80, 80, 260, 200) &&
               (ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 150, 120, 80,
                                     24, parent.m_hWnd, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr)) != nullptr &&
               button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId);
        for (const wchar_t* f : kFruit) button.AddString(U(f));
        button.SetNotifyMessage(kNotifyMsg);
        button.SetCaption(L"Fruit");
        if (made) {
            parent.SetForegroundWindow();
            ::SetFocus(ok);
        }
    }
    std::wstring Item(int i) const { return i >= 0 && i < 4 ? kFruit[i] : L""; }
};

} // namespace

TEST(MenuButton, TakesTheFocusWithTabAndSelectsFromTheKeyboardWhileClosed) {
    GUI_TEST_REQUIRES_DISPLAY();
    KeyboardWindow w;
    ASSERT_TRUE(w.made);
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_TAB}}));
    ASSERT_EQ(w.button.m_hWnd, ::GetFocus());
    EXPECT_EQ(L"Fruit", gui::TextOf(w.button.m_hWnd));

    // Each change is told as a changed choice is; a key that lands on the selection tells
    // nothing. No list opens.
    struct Row { const char* name; Key key; int sel; };
    const Row rows[] = {
        {"Down from none", {VK_DOWN}, 0}, {"Down", {VK_DOWN}, 1}, {"End", {VK_END}, 3},
        {"End at the end", {VK_END}, 3}, {"Down at the end", {VK_DOWN}, 3}, {"Up", {VK_UP}, 2},
        {"Home", {VK_HOME}, 0}, {"Home at the start", {VK_HOME}, 0}, {"Up at the start", {VK_UP}, 0},
        {"b", {'B'}, 1}, {"b again", {'B'}, 3}, {"b wraps round", {'B'}, 1}, {"c", {'C'}, 2},
        {"c again, the only item with c", {'C'}, 2}, {"no item with z", {'Z'}, 2},
    };
    int sel = -1;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        w.parent.log.clear();
        ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {r.key}));
        EXPECT_EQ(r.sel, w.button.GetCurSel());
        std::vector<std::string> told;
        if (r.sel != sel) told = {"xmb 2027 " + std::to_string(r.sel), "selchange"};
        EXPECT_EQ(told, w.parent.log);
        EXPECT_EQ(w.Item(r.sel), gui::TextOf(w.button.m_hWnd));
        EXPECT_EQ(nullptr, OpenList());
        EXPECT_EQ(w.button.m_hWnd, ::GetFocus());
        sel = r.sel;
    }

    // A selection left past the items (its item deleted, or fewer items given) is no
    // selection: Up and Down start again from the first item.
    struct Shrunk { const char* name; std::function<void(CTestMenuButton&)> shrink; Key key; };
    const Shrunk shrunk[] = {
        {"the selected last item deleted, Down", [](CTestMenuButton& b) { b.DeleteString(3); }, {VK_DOWN}},
        {"fewer items given, Up", [](CTestMenuButton& b) {
             CxMenuButton::Item items[] = {{kFruit[0], 0}, {kFruit[1], 0}, {kFruit[2], 0}};
             b.SetMenuItems(items, 3);
         }, {VK_UP}},
    };
    for (const Shrunk& r : shrunk) {
        SCOPED_TRACE(r.name);
        CxMenuButton::Item items[4] = {};
        for (int i = 0; i < 4; ++i) items[i].strText = kFruit[i];
        w.button.SetMenuItems(items, 4);
        w.button.SetCurSel(3);
        r.shrink(w.button);
        ASSERT_EQ(3, w.button.GetCurSel());
        EXPECT_EQ(L"Fruit", gui::TextOf(w.button.m_hWnd));
        w.parent.log.clear();
        ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {r.key}));
        EXPECT_EQ(0, w.button.GetCurSel());
        EXPECT_EQ((std::vector<std::string>{"xmb 2027 0", "selchange"}), w.parent.log);
        EXPECT_EQ(w.Item(0), gui::TextOf(w.button.m_hWnd));
    }

    // Escape is still the dialog's; Tab moves on.
    w.parent.log.clear();
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_ESCAPE}, {VK_TAB}}));
    EXPECT_EQ((std::vector<std::string>{"idcancel"}), w.parent.log);
    EXPECT_EQ(w.ok, ::GetFocus());

    // Without items there is nothing to open: Enter is the dialog's again. Space is still the
    // push button's click, which drops down (the parent may fill the list) and, with nothing to
    // show, closes as a cancel at once.
    w.button.SetMenuItems(nullptr, 0);
    w.button.SetFocus();
    w.parent.log.clear();
    w.parent.told.clear();
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_RETURN}, {VK_SPACE}, {VK_F4}}));
    EXPECT_EQ((std::vector<std::string>{"idok", "xmb 2026 0", "selendcancel"}), w.parent.log);
    EXPECT_EQ((std::vector<std::string>{"dropdown", "selendcancel", "closeup"}), w.parent.told);
    EXPECT_EQ(nullptr, OpenList());
    EXPECT_FALSE(w.button.Dropped());
}

TEST(MenuButton, TheOpenListWorksFromTheKeyboard) {
    GUI_TEST_REQUIRES_DISPLAY();
    KeyboardWindow w;
    ASSERT_TRUE(w.made);
    const Key enter{VK_RETURN}, escape{VK_ESCAPE}, f4{VK_F4}, down{VK_DOWN}, up{VK_UP};
    struct Row {
        const char* name;
        int sel;                  // before opening
        Key open;
        std::vector<Key> moves;   // with the list open
        int hover;                // after the moves
        Key close;
        int chosen;               // -1: closed without a choice
    };
    const Row rows[] = {
        {"Space, Down, Down, Enter", 1, {VK_SPACE}, {down, down}, 3, enter, 3},
        {"Enter, End, Enter", 0, enter, {{VK_END}}, 3, enter, 3},
        {"Alt+Down, Up, Escape", 2, {VK_DOWN, true}, {up}, 1, escape, -1},
        {"F4, Home, F4", 2, f4, {{VK_HOME}}, 0, f4, -1},
        {"F4, Down, Alt+Up", 0, f4, {down}, 1, {VK_UP, true}, -1},
        {"F4, PageDown, PageUp, Down, Enter", 2, f4, {{VK_NEXT}, {VK_PRIOR}, down}, 1, enter, 1},
        {"F4, Home, Enter: the first row", 2, f4, {{VK_HOME}}, 0, enter, 0},
        {"Space, Enter: the first row again", 0, {VK_SPACE}, {}, 0, enter, 0},
        {"Space, c, Enter", 0, {VK_SPACE}, {{'C'}}, 2, enter, 2},
        {"Space, Enter: the same row again", 1, {VK_SPACE}, {}, 1, enter, 1},
        {"Up past the start, Down past the end", 0, f4, {up, {VK_END}, down}, 3, enter, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        w.button.SetCurSel(r.sel);
        w.button.SetFocus();
        w.parent.log.clear();

        ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {r.open}));
        CxMenuList* list = OpenList();
        ASSERT_NE(nullptr, list);
        HWND h = list->m_hWnd;
        EXPECT_TRUE(w.button.Dropped());
        EXPECT_EQ(h, ::GetFocus());   // the list holds the keyboard
        EXPECT_EQ(r.sel, list->GetHover());
        // The rows read as a list box's do; the highlighted one is the window's text.
        EXPECT_EQ(4, SendMessageW(h, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < 4; ++i) {
            wchar_t text[32] = {};
            EXPECT_EQ(static_cast<LRESULT>(w.Item(i).size()), SendMessageW(h, LB_GETTEXTLEN, i, 0));
            SendMessageW(h, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            EXPECT_EQ(w.Item(i), text);
        }
        EXPECT_EQ(w.Item(r.sel), gui::TextOf(h));

        for (const Key& k : r.moves) ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {k}));
        ASSERT_TRUE(IsWindow(h));
        EXPECT_EQ(r.hover, list->GetHover());
        EXPECT_EQ(r.hover, SendMessageW(h, LB_GETCURSEL, 0, 0));
        EXPECT_EQ(w.Item(r.hover), gui::TextOf(h));
        EXPECT_TRUE(w.parent.log.empty());

        ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {r.close}));
        EXPECT_FALSE(IsWindow(h));
        EXPECT_FALSE(w.button.Dropped());
        EXPECT_EQ(w.button.m_hWnd, ::GetFocus());   // back to the button
        // The notifications of a mouse choice or cancel, in the same order; never the dialog's.
        std::vector<std::string> told;
        if (r.chosen < 0) {
            told = {"xmb 2026 " + std::to_string(r.sel), "selendcancel"};
        } else {
            told = {"xmb 2025 " + std::to_string(r.chosen), "selendok"};
            if (r.chosen != r.sel) told.insert(told.end(), {"xmb 2027 " + std::to_string(r.chosen), "selchange"});
        }
        EXPECT_EQ(told, w.parent.log);
        int now = r.chosen < 0 ? r.sel : r.chosen;
        EXPECT_EQ(now, w.button.GetCurSel());
        EXPECT_EQ(w.Item(now), gui::TextOf(w.button.m_hWnd));
    }
}

TEST(MenuButton, AListLongerThanTheWorkAreaShowsTheRowsThatFitAndPagesByThem) {
    GUI_TEST_REQUIRES_DISPLAY();
    KeyboardWindow w;
    ASSERT_TRUE(w.made);
    CxMenuButton::Item items[10] = {};
    for (int i = 0; i < 10; ++i) items[i].strText = CString(static_cast<wchar_t>(L'A' + i));
    w.button.SetMenuItems(items, 10);
    w.button.SetCurSel(0);
    w.button.SetFocus();
    // The row height, from the list opened once.
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_F4}}));
    CxMenuList* list = OpenList();
    ASSERT_NE(nullptr, list);
    const int h = list->GetItemHeight();
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_ESCAPE}}));
    ASSERT_EQ(nullptr, OpenList());

    // Below the button, a work area four and a half rows high.
    const CRect b = WindowRect(w.button);
    const RECT area = {0, b.bottom, GetSystemMetrics(SM_CXSCREEN), b.bottom + 4 * h + h / 2};
    ScopedWorkArea scoped(&area);
    ASSERT_EQ(CRect(area), scoped.Now());
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_F4}}));
    list = OpenList();
    ASSERT_NE(nullptr, list);
    const HWND l = list->m_hWnd;
    EXPECT_EQ(CRect(b.left, b.bottom, b.right, b.bottom + 4 * h), WindowRect(*list));
    EXPECT_EQ(10, SendMessageW(l, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageW(l, LB_GETTOPINDEX, 0, 0));

    // A page is the four rows shown less one, as in a list box; the highlighted row is always
    // one of the rows shown.
    struct Row { const char* name; Key key; int hover, top; };
    const Row rows[] = {
        {"PageDown", {VK_NEXT}, 3, 0},          {"PageDown again", {VK_NEXT}, 6, 3},
        {"Down", {VK_DOWN}, 7, 4},              {"PageUp", {VK_PRIOR}, 4, 4},
        {"PageUp again", {VK_PRIOR}, 1, 1},     {"End", {VK_END}, 9, 6},
        {"PageDown at the end", {VK_NEXT}, 9, 6}, {"PageUp from the end", {VK_PRIOR}, 6, 6},
        {"Home", {VK_HOME}, 0, 0},              {"PageUp at the start", {VK_PRIOR}, 0, 0},
        {"h", {'H'}, 7, 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {r.key}));
        ASSERT_TRUE(IsWindow(l));
        EXPECT_EQ(r.hover, list->GetHover());
        EXPECT_EQ(r.top, SendMessageW(l, LB_GETTOPINDEX, 0, 0));
        EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(L'A' + r.hover)), gui::TextOf(l));
    }

    // The wheel scrolls by the system's rows a notch; the mouse then chooses a row where it shows.
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int step = std::min<int>(lines, 4), top = std::max(4 - step, 0);
    const CRect shown = WindowRect(*list);
    // Off the list, no row: two places, so that the mouse really moves wherever it was.
    gui::MouseMove(shown.right + 20, shown.top + 2);
    gui::MouseMove(shown.right + 30, shown.top + 4);
    ASSERT_TRUE(gui::PumpUntil([&] { return list->GetHover() == -1; }, gui::ms(5000)));
    SendMessageW(l, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(shown.right + 20, shown.top + 2));
    EXPECT_EQ(top, SendMessageW(l, LB_GETTOPINDEX, 0, 0));
    const CPoint second = RowPoint(list, 1);   // the second row shown
    gui::MouseMove(second.x, second.y);
    ASSERT_TRUE(gui::PumpUntil([&] { return list->GetHover() == top + 1; }, gui::ms(5000)));
    gui::MouseClick(second.x, second.y);
    ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(l); }, gui::ms(5000)));
    EXPECT_EQ(top + 1, w.button.GetCurSel());
    EXPECT_EQ(std::wstring(1, static_cast<wchar_t>(L'A' + top + 1)), gui::TextOf(w.button.m_hWnd));

    // Opened again on a selection further down, the list shows it.
    w.button.SetCurSel(8);
    w.button.SetFocus();
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_F4}}));
    list = OpenList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(8, list->GetHover());
    EXPECT_EQ(5, SendMessageW(list->m_hWnd, LB_GETTOPINDEX, 0, 0));

    // The wheel turned one notch at a time, the mouse off the list: each notch counts once, and
    // the list scrolls no further than its first row and its last page.
    const CRect again = WindowRect(*list);
    gui::MouseMove(again.right + 20, again.top + 2);
    struct Turn { const char* name; int notches, top; };
    const Turn turns[] = {
        {"a notch up", 1, std::max(5 - step, 0)},
        {"a notch down: back where it was", -1, 5},
        {"ten notches down: the last page", -10, 6},
        {"a notch up from the last page", 1, 6 - step},
        {"ten notches up: the first row", 10, 0},
    };
    for (const Turn& t : turns) {
        SCOPED_TRACE(t.name);
        for (int i = 0; i < std::abs(t.notches); ++i)
            SendMessageW(list->m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, t.notches > 0 ? WHEEL_DELTA : -WHEEL_DELTA),
                         MAKELPARAM(again.right + 20, again.top + 2));
        EXPECT_EQ(t.top, SendMessageW(list->m_hWnd, LB_GETTOPINDEX, 0, 0));
    }
    ASSERT_TRUE(TypeKeys(w.parent.m_hWnd, {{VK_ESCAPE}}));
    EXPECT_EQ(nullptr, OpenList());
}

TEST(MenuButton, TheWindowTextIsWhatTheButtonShows) {
    GUI_TEST_REQUIRES_DISPLAY();
    ButtonOnParent w;
    ASSERT_TRUE(w.ok);
    w.button.SetCaption(L"Save to");
    struct Row { const char* name; std::function<void(CTestMenuButton&)> act; const wchar_t* text; };
    const Row rows[] = {
        {"the caption", [](CTestMenuButton&) {}, L"Save to"},
        {"a selection", [](CTestMenuButton& b) { b.SetCurSel(1); }, L"B"},
        {"the caption only", [](CTestMenuButton& b) { b.SetUpdateCaption(false); }, L"Save to"},
        {"the selection again", [](CTestMenuButton& b) { b.SetUpdateCaption(true); }, L"B"},
        {"the selected item deleted", [](CTestMenuButton& b) { b.DeleteString(1); }, L"C"},
        {"the selection past the items", [](CTestMenuButton& b) { b.DeleteString(1); }, L"Save to"},
        {"another caption", [](CTestMenuButton& b) { b.SetCaption(L"Where"); }, L"Where"},
        {"an item comes to the selection", [](CTestMenuButton& b) { b.AddString(U(L"D")); }, L"D"},
        {"other items", [](CTestMenuButton& b) {
             CxMenuButton::Item items[] = {{L"one", 1}, {L"two", 2}};
             b.SetMenuItems(items, 2);
         }, L"two"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.act(w.button);
        EXPECT_EQ(std::wstring(r.text), gui::TextOf(w.button.m_hWnd));
        EXPECT_EQ(static_cast<int>(wcslen(r.text)), GetWindowTextLengthW(w.button.m_hWnd));
    }
}

TEST(MenuButton, UnsubclassedItIsAPlainButtonAgain) {
    GUI_TEST_REQUIRES_DISPLAY();
    CRecordingParent parent;
    ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
    HWND h = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 140, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
    ASSERT_TRUE(h);
    const LONG_PTR platform = GetWindowLongPtrW(h, GWLP_WNDPROC);
    const LRESULT plainCode = SendMessageW(h, WM_GETDLGCODE, 0, 0);
    ASSERT_NE(0, plainCode);
    {
        CTestMenuButton button;
        ASSERT_TRUE(button.SubclassDlgItem(kButtonId, &parent));
        button.AddString(U(L"A"));
        button.AddString(U(L"B"));
        // Attached, the keys are the button's.
        EXPECT_EQ(plainCode | DLGC_WANTARROWS | DLGC_WANTCHARS, SendMessageW(h, WM_GETDLGCODE, 0, 0));
        SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(0, button.GetCurSel());

        EXPECT_EQ(h, button.UnsubclassWindow());
        EXPECT_EQ(nullptr, button.m_hWnd);
        // Detached: the platform's procedure, and a plain owner-drawn button that the object no
        // longer hears.
        EXPECT_EQ(platform, GetWindowLongPtrW(h, GWLP_WNDPROC));
        EXPECT_EQ(plainCode, SendMessageW(h, WM_GETDLGCODE, 0, 0));
        SendMessageW(h, BM_SETSTATE, TRUE, 0);
        EXPECT_TRUE(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED);
        SendMessageW(h, BM_SETSTATE, FALSE, 0);
        EXPECT_FALSE(SendMessageW(h, BM_GETSTATE, 0, 0) & BST_PUSHED);
        SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_EQ(0, button.GetCurSel());
        SetWindowTextW(h, L"plain");
        EXPECT_EQ(L"plain", gui::TextOf(h));
    }
    // The object has gone and the window lives on; another object takes it over.
    ASSERT_TRUE(IsWindow(h));
    CTestMenuButton again;
    ASSERT_TRUE(again.SubclassWindow(h));
    again.AddString(U(L"X"));
    SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(0, again.GetCurSel());
    EXPECT_EQ(L"X", gui::TextOf(h));
}

namespace {

// A parent that destroys the button (its window, or the object with it) when it hears the
// extra notification: the first message of every event.
class CDestroyingParent : public CRecordingParent {
public:
    std::unique_ptr<CTestMenuButton> button;
    bool deleteObject = false;

protected:
    LRESULT OnFirst(WPARAM w, LPARAM l) {
        OnXmb(w, l);
        if (!button) return 0;
        if (deleteObject) button.reset();
        else ::DestroyWindow(button->m_hWnd);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CDestroyingParent, CRecordingParent)
    ON_MESSAGE(kNotifyMsg, OnFirst)
END_MESSAGE_MAP()

} // namespace

TEST(MenuButton, AButtonGoneInItsFirstNotificationSendsNothingMore) {
    GUI_TEST_REQUIRES_DISPLAY();
    enum Event { Choice, Cancel, KeySelects };
    // A window destroyed while it has the focus (the list gave it back) tells that it lost it,
    // as a combo box does, while it is still a window; an object deleted tells nothing more.
    struct Row { const char* name; Event event; bool deleteObject; const char* first; std::vector<std::string> told; };
    const Row rows[] = {
        {"a choice, the window destroyed", Choice, false, "xmb 2025 2", {"killfocus"}},
        {"a choice, the object deleted", Choice, true, "xmb 2025 2", {}},
        {"a cancel, the window destroyed", Cancel, false, "xmb 2026 0", {"killfocus"}},
        {"a cancel, the object deleted", Cancel, true, "xmb 2026 0", {}},
        {"a key selects, the window destroyed", KeySelects, false, "xmb 2027 1", {}},
        {"a key selects, the object deleted", KeySelects, true, "xmb 2027 1", {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CDestroyingParent parent;
        ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
        parent.button = std::make_unique<CTestMenuButton>();
        CTestMenuButton& b = *parent.button;
        ASSERT_TRUE(b.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId));
        for (const wchar_t* f : {L"A", L"B", L"C"}) b.AddString(U(f));
        b.SetCurSel(0);
        b.SetNotifyMessage(kNotifyMsg);
        const HWND h = b.m_hWnd;
        parent.deleteObject = r.deleteObject;
        if (r.event == KeySelects) {
            parent.log.clear();
            parent.told.clear();
            SendMessageW(h, WM_KEYDOWN, VK_DOWN, 0);
        } else {
            SendMessageW(h, WM_KEYDOWN, VK_F4, 0);
            CxMenuList* list = OpenList();
            ASSERT_NE(nullptr, list);
            const HWND l = list->m_hWnd;
            SendMessageW(l, WM_KEYDOWN, VK_END, 0);
            parent.log.clear();
            parent.told.clear();
            SendMessageW(l, WM_KEYDOWN, r.event == Choice ? VK_RETURN : VK_ESCAPE, 0);
            EXPECT_FALSE(IsWindow(l));
        }
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(r.deleteObject, parent.button == nullptr);
        EXPECT_EQ(std::vector<std::string>{r.first}, parent.log);
        EXPECT_EQ(r.told, parent.told);
        EXPECT_EQ(0, parent.fromDeadWindows);
        EXPECT_EQ(nullptr, OpenList());
    }
}

namespace {

const UINT kMark = WM_APP + 77;

LRESULT CALLBACK MarkProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    if (msg == kMark) {
        *reinterpret_cast<bool*>(w) = true;
        return 0;
    }
    return DefWindowProcW(h, msg, w, l);
}

// Handles this thread's messages until those posted so far, and those their handlers post in
// turn, have been handled: a mark posted to a message-only window (no window to activate) comes
// back after them. False at the deadline.
bool HandlePostedSoFar() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MarkProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MenuButtonTestMark";
    RegisterClassW(&wc);   // once; later calls find it there
    HWND mark = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    if (!mark) return false;
    bool ok = true;
    for (int round = 0; round < 2 && ok; ++round) {
        bool seen = false;
        PostMessageW(mark, kMark, reinterpret_cast<WPARAM>(&seen), 0);
        ok = gui::PumpUntil([&] { return seen; }, gui::ms(5000));
    }
    DestroyWindow(mark);
    return ok;
}

} // namespace

TEST(MenuButton, AParentDestroyedWithTheListOpenIsToldNothing) {
    GUI_TEST_REQUIRES_DISPLAY();
    // The parent is the process's only window: as it goes, the system has no other window of
    // the program to activate, and under Wine the list hears the program lose the activation.
    enum How { Destroyed, ClosedByItsOwnerLater, AnotherProgramTakesOver };
    struct Row { const char* name; How how; std::vector<std::string> told; };
    const Row rows[] = {
        {"destroyed", Destroyed, {}},
        {"destroyed on a posted message", ClosedByItsOwnerLater, {}},
        {"another program takes over: the list closes as if cancelled", AnotherProgramTakesOver, {"selendcancel", "closeup"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        auto parent = std::make_unique<CRecordingParent>();
        ASSERT_TRUE(parent->CreateAt(60, 60, 260, 200));
        CTestMenuButton button;
        ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), parent.get(), kButtonId));
        button.AddString(U(L"A"));
        button.AddString(U(L"B"));
        button.SetNotifyMessage(kNotifyMsg);
        parent->SetForegroundWindow();
        CxMenuList* list = ClickOpen(button);
        ASSERT_NE(nullptr, list);
        const HWND l = list->m_hWnd, p = parent->m_hWnd;
        parent->log.clear();
        parent->told.clear();
        if (r.how == Destroyed) {
            parent->DestroyWindow();
        } else if (r.how == ClosedByItsOwnerLater) {
            PostMessageW(p, WM_CLOSE, 0, 0);   // a CWnd's WM_CLOSE destroys it
        } else {
            SendMessageW(l, WM_ACTIVATEAPP, FALSE, 0);
        }
        ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(l); }, gui::ms(5000)));
        ASSERT_TRUE(HandlePostedSoFar());   // whatever the closing posted
        EXPECT_EQ(r.told, parent->told);
        EXPECT_EQ(0, parent->fromDeadWindows);
        if (r.how != AnotherProgramTakesOver) {
            EXPECT_FALSE(IsWindow(p));
            EXPECT_TRUE(parent->log.empty());
        }
        EXPECT_FALSE(button.Dropped());
        EXPECT_EQ(nullptr, OpenList());
    }
}

namespace {

// A field worked as a drop-down list is: the platform's CBS_DROPDOWNLIST combo box, or the
// menu button, each on a window of its own beside an OK button, with the four fruit, the first
// selected, the focus on OK.
struct DropDownField {
    CKeyParent parent;
    HWND ok = nullptr;
    HWND combo = nullptr;
    std::unique_ptr<CTestMenuButton> button;
    bool made = false;

    explicit DropDownField(bool platformCombo) {
        made = parent.CreateAt(80, 80, 260, 200) &&
               (ok = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 150, 150, 80,
                                     24, parent.m_hWnd, reinterpret_cast<HMENU>(IDOK), nullptr, nullptr)) != nullptr;
        if (!made) return;
        if (platformCombo) {
            combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                    10, 10, 140, 200, parent.m_hWnd, reinterpret_cast<HMENU>(kButtonId), nullptr, nullptr);
            made = combo != nullptr;
            for (const wchar_t* f : kFruit) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f));
            SendMessageW(combo, CB_SETCURSEL, 0, 0);
        } else {
            button = std::make_unique<CTestMenuButton>();
            made = button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId);
            for (const wchar_t* f : kFruit) button->AddString(U(f));
            button->SetCurSel(0);
        }
        parent.SetForegroundWindow();
        ::SetFocus(ok);
    }
    HWND Field() const { return combo ? combo : button->m_hWnd; }
    bool Open() const { return combo ? SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0 : OpenList() != nullptr; }
    // The middle of row i of the open list, on the screen.
    CPoint Row(int i) const {
        if (!combo) return RowPoint(OpenList(), i);
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(combo, &info);
        CRect list;
        ::GetWindowRect(info.hwndList, &list);
        const int h = static_cast<int>(SendMessageW(info.hwndList, LB_GETITEMHEIGHT, 0, 0));
        return CPoint(list.left + list.Width() / 2, list.top + i * h + h / 2);
    }
    CPoint Middle() const {
        CRect r;
        ::GetWindowRect(Field(), &r);
        return CPoint(r.left + r.Width() / 3, r.top + 8);
    }
};

// Clicks at p and handles what follows until the field is open or closed as asked.
bool ClickAndWait(DropDownField& f, CPoint p, bool open) {
    gui::MouseClick(p.x, p.y);
    return PumpDialogUntil(f.parent.m_hWnd, [&] { return f.Open() == open; }, gui::ms(5000)) &&
           PumpDialogUntil(f.parent.m_hWnd, [] { MSG m; return !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE); }, gui::ms(5000));
}

std::vector<std::string> Without(std::vector<std::string> v, const std::string& what) {
    v.erase(std::remove(v.begin(), v.end(), what), v.end());
    return v;
}

} // namespace

// The notifications of a drop-down list, measured on the platform's combo box with the same
// keys and clicks, come from the button in the same order. A combo box also tells a change of
// the highlighted row at once, while the list is open; the button tells a changed choice when
// the list closes (after CBN_CLOSEUP, where the combo box tells a mouse choice too), so
// CBN_SELCHANGE is left out of the comparison and checked on its own.
TEST(MenuButton, TellsWhatADropDownListTells) {
    GUI_TEST_REQUIRES_DISPLAY();
    using Act = std::function<bool(DropDownField&)>;
    auto keys = [](std::initializer_list<Key> k) { return Act([k](DropDownField& f) { return TypeKeys(f.parent.m_hWnd, k); }); };
    struct Step { const char* name; Act act; std::vector<std::string> button; };
    const Step steps[] = {
        {"Tab reaches it", keys({{VK_TAB}}), {"setfocus"}},
        {"F4 opens", keys({{VK_F4}}), {"dropdown"}},
        {"Enter chooses the same row", keys({{VK_RETURN}}), {"selendok", "closeup"}},
        {"Alt+Down opens", keys({{VK_DOWN, true}}), {"dropdown"}},
        {"Escape cancels", keys({{VK_ESCAPE}}), {"selendcancel", "closeup"}},
        {"F4 opens again", keys({{VK_F4}}), {"dropdown"}},
        {"Alt+Up cancels", keys({{VK_UP, true}}), {"selendcancel", "closeup"}},
        {"a click opens", [](DropDownField& f) { return ClickAndWait(f, f.Middle(), true); }, {"dropdown"}},
        {"a click on the third row chooses it",
         [](DropDownField& f) {
             const CPoint p = f.Row(2);
             gui::MouseMove(p.x, p.y);
             return ClickAndWait(f, p, false);
         },
         {"selendok", "closeup", "selchange"}},
        {"a click opens again", [](DropDownField& f) { return ClickAndWait(f, f.Middle(), true); }, {"dropdown"}},
        {"a click beside the list cancels",
         [](DropDownField& f) {
             CRect p;
             f.parent.GetWindowRect(&p);
             return ClickAndWait(f, CPoint(p.right - 20, p.top + 20), false);
         },
         {"selendcancel", "closeup"}},
        {"F4 opens once more", keys({{VK_F4}}), {"dropdown"}},
        {"the focus goes elsewhere while it is open",
         [](DropDownField& f) {
             ::SetFocus(f.ok);
             return PumpDialogUntil(f.parent.m_hWnd, [&] { return !f.Open(); }, gui::ms(5000)) &&
                    PumpDialogUntil(f.parent.m_hWnd, [] { MSG m; return !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE); }, gui::ms(5000));
         },
         {"selendcancel", "closeup", "killfocus"}},
        {"a click opens from elsewhere", [](DropDownField& f) { return ClickAndWait(f, f.Middle(), true); }, {"setfocus", "dropdown"}},
        {"Escape cancels it", keys({{VK_ESCAPE}}), {"selendcancel", "closeup"}},
        {"Tab leaves it", keys({{VK_TAB}}), {"killfocus"}},
    };
    // Each field on its own, one after the other: what each tells at each step.
    auto run = [&](bool platformCombo) {
        std::vector<std::vector<std::string>> told;
        DropDownField f(platformCombo);
        EXPECT_TRUE(f.made);
        for (const Step& s : steps) {
            f.parent.told.clear();
            EXPECT_TRUE(s.act(f)) << s.name;
            told.push_back(f.parent.told);
            EXPECT_EQ(0, f.parent.fromDeadWindows) << s.name;
        }
        return told;
    };
    const auto combo = run(true), button = run(false);
    ASSERT_EQ(std::size(steps), combo.size());
    ASSERT_EQ(std::size(steps), button.size());
    for (size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].name);
        EXPECT_EQ(steps[i].button, button[i]);
        // A combo box that loses the focus with its list closed also tells a cancel.
        std::vector<std::string> measured = Without(combo[i], "selchange");
        if (measured == std::vector<std::string>{"selendcancel", "killfocus"}) measured = {"killfocus"};
        EXPECT_EQ(measured, Without(button[i], "selchange"));
    }
}

// A parent may fill the list when it hears CBN_DROPDOWN, as dialogs fill a drop-down list late.
class CFillingParent : public CRecordingParent {
public:
    CxMenuButton* button = nullptr;

protected:
    void OnDropDown() {
        if (button && button->GetCount() == 0)
            for (const wchar_t* f : kFruit) button->AddString(U(f));
    }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFillingParent, CRecordingParent)
    ON_CONTROL(CBN_DROPDOWN, kButtonId, OnDropDown)
END_MESSAGE_MAP()

TEST(MenuButton, AParentMayFillTheListWhenItHearsItDropDown) {
    GUI_TEST_REQUIRES_DISPLAY();
    CFillingParent parent;
    ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
    CTestMenuButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent, kButtonId));
    parent.button = &button;
    parent.SetForegroundWindow();
    CxMenuList* list = ClickOpen(button);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(4, SendMessageW(list->m_hWnd, LB_GETCOUNT, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"setfocus", "dropdown"}), parent.told);
    ASSERT_TRUE(ChooseRow(list, 1));
    EXPECT_EQ(1, button.GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"setfocus", "dropdown", "selendok", "closeup", "selchange"}), parent.told);
}

// A program's click (BN_CLICKED sent to the parent) while another control has the focus: the
// button takes the focus before it drops down, as a user's click gives it.
TEST(MenuButton, AProgramsClickTakesTheFocusBeforeTheListDropsDown) {
    GUI_TEST_REQUIRES_DISPLAY();
    KeyboardWindow w;
    ASSERT_TRUE(w.made);
    ASSERT_EQ(w.ok, ::GetFocus());
    w.parent.told.clear();
    w.parent.SendMessage(WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), reinterpret_cast<LPARAM>(w.button.m_hWnd));
    CxMenuList* list = OpenList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((std::vector<std::string>{"setfocus", "dropdown"}), w.parent.told);
    SendMessageW(list->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(nullptr, OpenList());
    EXPECT_EQ((std::vector<std::string>{"setfocus", "dropdown", "selendcancel", "closeup"}), w.parent.told);
}

// No selection, the pointer resting where the list appears, F4 and a click without a move: the
// system's move messages change nothing, and the click chooses the row under the pointer.
TEST(MenuButton, AClickWithoutAMoveChoosesTheRowUnderThePointer) {
    GUI_TEST_REQUIRES_DISPLAY();
    ButtonOnParent w;
    ASSERT_TRUE(w.ok);
    w.parent.SetForegroundWindow();
    w.button.SetFocus();
    // The row height, from the list opened once.
    SendMessageW(w.button.m_hWnd, WM_KEYDOWN, VK_F4, 0);
    CxMenuList* list = OpenList();
    ASSERT_NE(nullptr, list);
    const int rowHeight = list->GetItemHeight();
    SendMessageW(list->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_EQ(nullptr, OpenList());

    const CRect b = WindowRect(w.button);
    const CPoint p(b.left + b.Width() / 2, b.bottom + rowHeight + rowHeight / 2);   // where row B appears
    gui::MouseMove(p.x, p.y);
    ASSERT_TRUE(gui::PumpUntil([&] {
        POINT now{};
        return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    }, gui::ms(5000)));
    ASSERT_TRUE(HandlePostedSoFar());
    w.button.SetFocus();
    w.parent.log.clear();
    w.parent.told.clear();
    SendMessageW(w.button.m_hWnd, WM_KEYDOWN, VK_F4, 0);
    list = OpenList();
    ASSERT_NE(nullptr, list);
    const HWND l = list->m_hWnd;
    ASSERT_TRUE(HandlePostedSoFar());
    ASSERT_TRUE(IsWindow(l));
    EXPECT_EQ(-1, list->GetHover());
    gui::MouseClick(p.x, p.y);
    ASSERT_TRUE(gui::PumpUntil([&] { return !IsWindow(l); }, gui::ms(5000)));
    EXPECT_EQ(1, w.button.GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"xmb 2025 1", "selendok", "xmb 2027 1", "selchange"}), w.parent.log);
    EXPECT_EQ((std::vector<std::string>{"dropdown", "selendok", "closeup", "selchange"}), w.parent.told);
}

namespace {

// A button whose memory outlives it: its delete fills the memory with a pattern and keeps it
// until the test ends, so that anything written through the deleted object shows.
const unsigned char kPattern = 0xA5;
struct KeptBlock {
    void* p;
    size_t n;
};
std::vector<KeptBlock> s_kept;

class CKeptButton : public CTestMenuButton {
public:
    static void* operator new(size_t n) { return ::operator new(n); }
    static void operator delete(void* p, size_t n) {
        memset(p, kPattern, n);
        s_kept.push_back({p, n});
    }
};

bool KeptIntact(const KeptBlock& k) {
    const unsigned char* b = static_cast<const unsigned char*>(k.p);
    return std::all_of(b, b + k.n, [](unsigned char c) { return c == kPattern; });
}

void FreeKept() {
    for (const KeptBlock& k : s_kept) ::operator delete(k.p);
    s_kept.clear();
}

// A parent that deletes the button object when it hears one combo-box notification of it.
class CDeletingParent : public CRecordingParent {
public:
    CKeptButton* button = nullptr;
    UINT deleteOn = 0;

protected:
    BOOL OnCommand(WPARAM w, LPARAM l) override {
        BOOL r = CRecordingParent::OnCommand(w, l);
        if (button && LOWORD(w) == kButtonId && HIWORD(w) == deleteOn) {
            delete button;
            button = nullptr;
        }
        return r;
    }
};

} // namespace

// The object deleted in its own CBN_DROPDOWN or CBN_SELENDOK: the button neither touches its
// memory nor tells anything more, and no list stays open.
TEST(MenuButton, AButtonDeletedInItsNotificationIsLeftAlone) {
    GUI_TEST_REQUIRES_DISPLAY();
    struct Row { const char* name; UINT deleteOn; std::vector<std::string> told; };
    const Row rows[] = {
        {"in CBN_DROPDOWN", CBN_DROPDOWN, {"dropdown"}},
        {"in CBN_SELENDOK", CBN_SELENDOK, {"dropdown", "selendok"}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CDeletingParent parent;
        ASSERT_TRUE(parent.CreateAt(60, 60, 260, 200));
        parent.SetForegroundWindow();
        parent.button = new CKeptButton;
        ASSERT_TRUE(parent.button->Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 150, 30), &parent,
                                          kButtonId));
        for (const wchar_t* f : {L"A", L"B", L"C"}) parent.button->AddString(U(f));
        parent.button->SetNotifyMessage(kNotifyMsg);
        const HWND h = parent.button->m_hWnd;
        parent.button->SetFocus();
        parent.deleteOn = r.deleteOn;
        parent.told.clear();
        SendMessageW(h, WM_KEYDOWN, VK_F4, 0);
        if (CxMenuList* list = OpenList()) {
            SendMessageW(list->m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
            SendMessageW(list->m_hWnd, WM_KEYDOWN, VK_RETURN, 0);
        }
        EXPECT_EQ(nullptr, parent.button);
        EXPECT_FALSE(IsWindow(h));
        EXPECT_EQ(nullptr, OpenList());
        ASSERT_TRUE(HandlePostedSoFar());
        EXPECT_EQ(nullptr, OpenList());
        EXPECT_EQ(r.told, parent.told);
        EXPECT_EQ(0, parent.fromDeadWindows);
        EXPECT_EQ(1u, s_kept.size());
        for (const KeptBlock& k : s_kept) EXPECT_TRUE(KeptIntact(k)) << "written after it was deleted";
        delete parent.button;
        FreeKept();
    }
}

// The items shrink while the list is open, and Enter chooses a row that is no more: the list
// closes as a cancel, told as one, and the selection stays.
TEST(MenuButton, ARowThatIsNoMoreClosesTheListAsACancel) {
    GUI_TEST_REQUIRES_DISPLAY();
    ButtonOnParent w;
    ASSERT_TRUE(w.ok);
    w.parent.SetForegroundWindow();
    w.button.SetCurSel(0);
    w.button.SetFocus();
    SendMessageW(w.button.m_hWnd, WM_KEYDOWN, VK_F4, 0);
    CxMenuList* list = OpenList();
    ASSERT_NE(nullptr, list);
    const HWND l = list->m_hWnd;
    SendMessageW(l, WM_KEYDOWN, VK_END, 0);
    ASSERT_EQ(2, list->GetHover());
    w.button.DeleteString(2);
    w.parent.log.clear();
    w.parent.told.clear();
    SendMessageW(l, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_FALSE(IsWindow(l));
    EXPECT_FALSE(w.button.Dropped());
    EXPECT_EQ(0, w.button.GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"xmb 2026 0", "selendcancel"}), w.parent.log);
    EXPECT_EQ((std::vector<std::string>{"selendcancel", "closeup"}), w.parent.told);
}
