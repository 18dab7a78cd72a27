// Windows of the MFC subset: message maps, reflection, owner-draw and the handle map, on
// real windows.
#include <gtest/gtest.h>
#include <afxwin.h>
#include <functional>
#include <string>
#include <vector>
#include "gui_watch.h"

namespace {

const UINT WM_TEST_BASE_ONLY = WM_APP + 1;
const UINT WM_TEST_OVERRIDDEN = WM_APP + 2;
const UINT WM_TEST_DERIVED_ONLY = WM_APP + 3;

// A top-level window that records which handlers ran.
class CRecordingWnd : public CWnd {
public:
    std::vector<std::string> calls;
    BOOL CreatePopup(int w = 200, int h = 120) {
        return CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"recording", WS_POPUP, 40, 40, w, h, nullptr, nullptr);
    }

protected:
    int OnCreate(LPCREATESTRUCT cs) {
        calls.push_back("create");
        return CWnd::OnCreate(cs);
    }
    void OnDestroy() {
        calls.push_back("destroy");
        CWnd::OnDestroy();
    }
    void OnTimer(UINT_PTR id) {
        calls.push_back("timer " + std::to_string(id));
        KillTimer(id);
    }
    LRESULT OnBaseOnly(WPARAM w, LPARAM) { calls.push_back("base-only"); return 100 + static_cast<LRESULT>(w); }
    LRESULT OnOverridden(WPARAM, LPARAM) { calls.push_back("base-overridden"); return 1; }
    void OnLButtonDown(UINT flags, CPoint p) {
        calls.push_back("lbuttondown " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void OnSize(UINT, int cx, int cy) { calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    void OnMouseMove(UINT flags, CPoint p) {
        calls.push_back("mousemove " + std::to_string(flags) + " " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    void OnLButtonUp(UINT, CPoint p) { calls.push_back("lbuttonup " + std::to_string(p.x) + "," + std::to_string(p.y)); }
    void OnActivateApp(BOOL active, DWORD thread) {
        calls.push_back("activateapp " + std::to_string(active) + " " + std::to_string(thread));
    }
    void OnKillFocus(CWnd* next) { calls.push_back(next == this ? "killfocus self" : next ? "killfocus other" : "killfocus none"); }
    BOOL OnEraseBkgnd(CDC* dc) {
        calls.push_back(dc ? "erase dc" : "erase none");
        return 77;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_SIZE()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_ACTIVATEAPP()
    ON_WM_KILLFOCUS()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_TEST_BASE_ONLY, OnBaseOnly)
    ON_MESSAGE(WM_TEST_OVERRIDDEN, OnOverridden)
END_MESSAGE_MAP()

class CDerivedWnd : public CRecordingWnd {
public:
    bool postNcDestroy = false;
    void PostNcDestroy() override { postNcDestroy = true; }

protected:
    LRESULT OnOverridden(WPARAM, LPARAM) { calls.push_back("derived-overridden"); return 2; }
    LRESULT OnDerivedOnly(WPARAM, LPARAM l) { calls.push_back("derived-only"); return l * 2; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CRecordingWnd)
    ON_MESSAGE(WM_TEST_OVERRIDDEN, OnOverridden)
    ON_MESSAGE(WM_TEST_DERIVED_ONLY, OnDerivedOnly)
END_MESSAGE_MAP()

TEST(MfcMessageMap, DispatchFollowsTheMapsOfTheClassAndItsBases) {
    GUI_TEST_REQUIRES_DISPLAY();
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.CreatePopup());
    ASSERT_FALSE(wnd.calls.empty());
    EXPECT_EQ("create", wnd.calls[0]);

    struct Row { UINT msg; WPARAM w; LPARAM l; LRESULT result; const char* handler; };
    const Row rows[] = {
        {WM_TEST_BASE_ONLY, 5, 0, 105, "base-only"},
        {WM_TEST_OVERRIDDEN, 0, 0, 2, "derived-overridden"},
        {WM_TEST_DERIVED_ONLY, 0, 21, 42, "derived-only"},
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 9), 0, "lbuttondown 7,9"},
        {WM_LBUTTONUP, 0, MAKELPARAM(-3, 4), 0, "lbuttonup -3,4"},   // signed coordinates (capture)
        {WM_MOUSEMOVE, MK_SHIFT, MAKELPARAM(1, 2), 0, "mousemove 4 1,2"},
        {WM_ACTIVATEAPP, FALSE, 1234, 0, "activateapp 0 1234"},
        {WM_KILLFOCUS, 0, 0, 0, "killfocus none"},
        {WM_ERASEBKGND, 0, 0, 77, "erase none"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.handler);
        wnd.calls.clear();
        EXPECT_EQ(r.result, wnd.SendMessage(r.msg, r.w, r.l));
        EXPECT_EQ(std::vector<std::string>{r.handler}, wnd.calls);
    }

    // A message no map names goes to the default procedure.
    wnd.calls.clear();
    wnd.SetWindowText(L"renamed");
    CString text;
    wnd.GetWindowText(text);
    EXPECT_STREQ(L"renamed", text);
    EXPECT_TRUE(wnd.calls.empty());

    // Sizes arrive unpacked.
    wnd.MoveWindow(40, 40, 150, 90);
    CRect client;
    wnd.GetClientRect(&client);
    EXPECT_NE(wnd.calls.end(), std::find(wnd.calls.begin(), wnd.calls.end(),
              "size " + std::to_string(client.Width()) + "x" + std::to_string(client.Height())));

    // Timers come through the map.
    wnd.calls.clear();
    ASSERT_NE(0u, wnd.SetTimer(7, 1));
    EXPECT_TRUE(gui::PumpUntil([&] { return !wnd.calls.empty(); }));
    EXPECT_EQ(std::vector<std::string>{"timer 7"}, wnd.calls);

    HWND h = wnd.m_hWnd;
    wnd.calls.clear();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(std::vector<std::string>{"destroy"}, wnd.calls);
    EXPECT_TRUE(wnd.postNcDestroy);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

TEST(MfcMessageMap, ASafeHandleOfNoWindowIsNull) {
    CWnd* volatile none = nullptr;   // as callers write pParent->GetSafeHwnd()
    EXPECT_EQ(nullptr, none->GetSafeHwnd());
    CWnd unattached;
    EXPECT_EQ(nullptr, unattached.GetSafeHwnd());
    EXPECT_EQ(nullptr, static_cast<HWND>(unattached));
}

TEST(MfcMessageMap, DestroyingTheObjectDestroysItsWindow) {
    GUI_TEST_REQUIRES_DISPLAY();
    HWND h = nullptr;
    {
        CRecordingWnd wnd;
        ASSERT_TRUE(wnd.CreatePopup());
        h = wnd.m_hWnd;
        EXPECT_EQ(&wnd, CWnd::FromHandle(h));
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

// A button that handles its own click (reflected) and draws itself.
class CSelfButton : public CButton {
public:
    int clicks = 0;
    int draws = 0;
    UINT lastDrawAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT dis) override {
        ++draws;
        lastDrawAction = dis->itemAction;
        CDC* dc = CDC::FromHandle(dis->hDC);
        dc->FillSolidRect(&dis->rcItem, RGB(0, 128, 0));
    }

protected:
    void OnClicked() { ++clicks; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CSelfButton, CButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

// A button that looks at its click and lets the parent see it too.
class CPeekButton : public CButton {
public:
    int clicks = 0;

protected:
    BOOL OnClicked() { ++clicks; return FALSE; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPeekButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

class CParentWnd : public CRecordingWnd {
protected:
    void OnSelfClicked() { calls.push_back("parent saw self"); }
    void OnPlainClicked() { calls.push_back("parent saw plain"); }
    void OnPeekClicked() { calls.push_back("parent saw peek"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CParentWnd, CRecordingWnd)
    ON_BN_CLICKED(201, OnSelfClicked)
    ON_BN_CLICKED(202, OnPlainClicked)
    ON_BN_CLICKED(203, OnPeekClicked)
END_MESSAGE_MAP()

TEST(MfcMessageMap, NotificationsAndDrawingAreReflectedToTheControl) {
    GUI_TEST_REQUIRES_DISPLAY();
    CParentWnd parent;
    ASSERT_TRUE(parent.CreatePopup(300, 120));
    CSelfButton self;
    CButton plain;
    CPeekButton peek;
    ASSERT_TRUE(self.Create(L"self", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(5, 5, 95, 35), &parent, 201));
    ASSERT_TRUE(plain.Create(L"plain", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(100, 5, 190, 35), &parent, 202));
    ASSERT_TRUE(peek.Create(L"peek", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(200, 5, 290, 35), &parent, 203));
    EXPECT_EQ(&parent, self.GetParent());

    parent.calls.clear();
    self.SendMessage(BM_CLICK);
    plain.SendMessage(BM_CLICK);
    peek.SendMessage(BM_CLICK);
    EXPECT_EQ(1, self.clicks);
    EXPECT_EQ(1, peek.clicks);
    std::vector<std::string> seen;   // focus and activation changes aside
    for (const std::string& c : parent.calls)
        if (c.rfind("parent saw", 0) == 0) seen.push_back(c);
    EXPECT_EQ((std::vector<std::string>{"parent saw plain", "parent saw peek"}), seen);

    // WM_DRAWITEM about the owner-drawn button reaches the button's DrawItem.
    parent.ShowWindow(SW_SHOWNOACTIVATE);
    parent.UpdateWindow();
    EXPECT_TRUE(gui::PumpUntil([&] { return self.draws > 0; }));
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), self.lastDrawAction);
    parent.DestroyWindow();
    EXPECT_EQ(nullptr, self.m_hWnd);   // the children went with their parent
}

// A window whose map names control notifications of its children.
class CFormWnd : public CRecordingWnd {
protected:
    void OnNameFocus() { calls.push_back("name focus"); }
    void OnChoiceChanged() { calls.push_back("choice changed"); }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CFormWnd, CRecordingWnd)
    ON_EN_SETFOCUS(301, OnNameFocus)
    ON_CBN_SELCHANGE(302, OnChoiceChanged)
END_MESSAGE_MAP()

TEST(MfcMessageMap, ControlNotificationsReachTheParentsMap) {
    GUI_TEST_REQUIRES_DISPLAY();
    CFormWnd form;
    ASSERT_TRUE(form.CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), L"form", WS_POPUP | WS_VISIBLE, 30, 30, 200, 150,
                              nullptr, nullptr));
    CEdit name, other;
    CComboBox choice;
    ASSERT_TRUE(name.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 5, 150, 25), &form, 301));
    ASSERT_TRUE(other.Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, CRect(5, 30, 150, 50), &form, 303));
    ASSERT_TRUE(choice.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 55, 150, 150), &form, 302));
    choice.AddString(L"a");
    choice.AddString(L"b");
    choice.SetCurSel(0);
    form.SetForegroundWindow();

    struct Row { const char* name; std::function<void()> act; const char* expected; };
    const Row rows[] = {
        {"focus to the name", [&] { other.SetFocus(); form.calls.clear(); name.SetFocus(); }, "name focus"},
        {"focus elsewhere", [&] { form.calls.clear(); other.SetFocus(); }, nullptr},
        {"arrow down in the list", [&] { choice.SetFocus(); form.calls.clear(); choice.SendMessage(WM_KEYDOWN, VK_DOWN, 1); }, "choice changed"},
        {"selection by program", [&] { form.calls.clear(); choice.SetCurSel(0); }, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        r.act();
        std::vector<std::string> seen;
        for (const std::string& c : form.calls)
            if (c == "name focus" || c == "choice changed") seen.push_back(c);
        EXPECT_EQ(r.expected ? std::vector<std::string>{r.expected} : std::vector<std::string>{}, seen);
    }
    EXPECT_EQ(0, choice.GetCurSel());
}

TEST(MfcHandleMap, PermanentTemporaryAttachedAndSubclassedWindows) {
    GUI_TEST_REQUIRES_DISPLAY();
    CRecordingWnd owner;
    ASSERT_TRUE(owner.CreatePopup());
    HWND raw = CreateWindowExW(0, L"BUTTON", L"raw", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, owner.m_hWnd,
                               reinterpret_cast<HMENU>(300), GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, raw);

    // A foreign window: one temporary wrapper per handle, never the owner of the window.
    CWnd* temp = CWnd::FromHandle(raw);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CWnd::FromHandle(raw));
    EXPECT_EQ(temp, owner.GetDlgItem(300));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));
    EXPECT_EQ(&owner, temp->GetParent());
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));

    // Subclassed: the object's map sees the messages; unsubclassing gives the procedure back.
    const LONG_PTR original = GetWindowLongPtrW(raw, GWLP_WNDPROC);
    CRecordingWnd sub;
    ASSERT_TRUE(sub.SubclassWindow(raw));
    EXPECT_EQ(&sub, CWnd::FromHandle(raw));
    EXPECT_EQ(&sub, CWnd::FromHandlePermanent(raw));
    EXPECT_FALSE(CRecordingWnd().SubclassWindow(raw));   // one object per window
    EXPECT_EQ(105, ::SendMessageW(raw, WM_TEST_BASE_ONLY, 5, 0));
    sub.SetWindowText(L"through the object");
    EXPECT_EQ(L"through the object", gui::TextOf(raw));   // unhandled: the button's own procedure
    EXPECT_EQ(raw, sub.UnsubclassWindow());
    EXPECT_EQ(original, GetWindowLongPtrW(raw, GWLP_WNDPROC));
    EXPECT_EQ(0, ::SendMessageW(raw, WM_TEST_BASE_ONLY, 5, 0));
    EXPECT_EQ(nullptr, sub.m_hWnd);

    // Attached: mapped, and left alive by Detach.
    CWnd attached;
    ASSERT_TRUE(attached.Attach(raw));
    EXPECT_EQ(&attached, CWnd::FromHandle(raw));
    EXPECT_EQ(raw, attached.Detach());
    EXPECT_TRUE(IsWindow(raw));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));

    // Geometry and state wrappers.
    CRect rc;
    temp = CWnd::FromHandle(raw);
    temp->MoveWindow(10, 12, 60, 22);
    temp->GetWindowRect(&rc);
    owner.ScreenToClient(&rc);
    EXPECT_EQ(CRect(10, 12, 70, 34), rc);
    CPoint p(0, 0);
    temp->ClientToScreen(&p);
    owner.ScreenToClient(&p);
    EXPECT_EQ(CPoint(10, 12), p);
    EXPECT_FALSE(temp->IsWindowVisible());
    temp->ShowWindow(SW_SHOW);
    EXPECT_TRUE(temp->IsWindowVisible() || !owner.IsWindowVisible());
    EXPECT_TRUE(temp->GetStyle() & WS_CHILD);
    temp->EnableWindow(FALSE);
    EXPECT_FALSE(temp->IsWindowEnabled());
    EXPECT_EQ(300, temp->GetDlgCtrlID());
}

} // namespace
