// CxMenuButton: the skinned drop-down menu button.
#include "MenuButton.h"
#include "menu_internal.h"
#include <stddef.h>
#include <memory>
#include <string>

namespace {

const UINT kSkinBitmap = 30500;
const CxMenuButton::SkinConfig kDefaultSkin = {28, 12, 18, 30};

// Sends the extra notification (when msg is set) and then the combo-box style WM_COMMAND to
// the parent, the second only while the button still exists: a handler of the first may
// destroy it. False when the button has gone (a window without a parent tells nobody, and is
// reported as it is).
bool notify(HWND self, UINT msg, UINT xmbCode, int sel, UINT cbnCode) {
    HWND parent = ::GetParent(self);
    if (!parent) return ::IsWindow(self) != FALSE;
    const int id = ::GetDlgCtrlID(self);
    if (msg && xmbCode) {
        ::SendMessageW(parent, msg, xmbCode, sel);
        if (!::IsWindow(self)) return false;
    }
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, cbnCode), reinterpret_cast<LPARAM>(self));
    return ::IsWindow(self) != FALSE;
}

} // namespace

int menu_detail::next_item_starting_with(const CArray<CxMenuButton::Item>& items, int from, wchar_t ch) {
    int n = static_cast<int>(items.GetSize());
    if (n < 1) return -1;
    int start = (from < 0 || from >= n) ? 0 : from + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        const CString& t = items[i].strText;
        if (!t.IsEmpty() && CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, t.GetString(), 1, &ch, 1) == CSTR_EQUAL)
            return i;
    }
    return -1;
}

BEGIN_MESSAGE_MAP(CxMenuButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_MESSAGE(WM_XMB_SELENDOK, OnSelEndOK)
    ON_MESSAGE(WM_XMB_SELENDCANCEL, OnSelEndCancel)
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
    ON_MESSAGE(WM_CHAR, OnChar)
    ON_MESSAGE(WM_GETTEXT, OnGetText)
    ON_MESSAGE(WM_GETTEXTLENGTH, OnGetText)
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CxMenuButton::CxMenuButton()
    : m_SkinConfig(kDefaultSkin), m_bDropped(false), m_nCurSel(-1), m_nNotifyMsg(0), m_bUpdateCaption(true) {
    // Hosts and other processes of the suite share these layouts.
    static_assert(sizeof(SkinConfig) == 16 && offsetof(SkinConfig, nHeight) == 0 &&
                      offsetof(SkinConfig, nLeftWidth) == 4 && offsetof(SkinConfig, nRightWidth) == 8 &&
                      offsetof(SkinConfig, nMiddleWidth) == 12,
                  "SkinConfig is four 32-bit values: height, left, right, middle");
    static_assert(sizeof(Item) == 8 && sizeof(unsigned long) == 4, "Item is a text and a 32-bit value");
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(CxMenuButton, m_bmpSkin) == sizeof(CButton) &&
                      offsetof(CxMenuButton, m_SkinConfig) == offsetof(CxMenuButton, m_bmpSkin) + sizeof(CBitmap) &&
                      offsetof(CxMenuButton, m_strCaption) == offsetof(CxMenuButton, m_SkinConfig) + sizeof(SkinConfig) &&
                      offsetof(CxMenuButton, m_bDropped) == offsetof(CxMenuButton, m_strCaption) + sizeof(CString) &&
                      offsetof(CxMenuButton, m_nCurSel) > offsetof(CxMenuButton, m_bDropped) &&
                      offsetof(CxMenuButton, m_aItems) > offsetof(CxMenuButton, m_nCurSel) &&
                      offsetof(CxMenuButton, m_nNotifyMsg) == offsetof(CxMenuButton, m_aItems) + sizeof(CArray<Item>) &&
                      offsetof(CxMenuButton, m_bUpdateCaption) == offsetof(CxMenuButton, m_nNotifyMsg) + 4,
                  "CxMenuButton's fields keep their order");
#pragma GCC diagnostic pop
    m_bmpSkin.LoadBitmap(kSkinBitmap);
}

CxMenuButton::~CxMenuButton() {
    // An open list must not outlive the button it draws and reports to.
    if (m_bDropped) CxMenuList::destroy_list_of(this);
}

void CxMenuButton::SetSkinBitmap(unsigned int id, const SkinConfig& cfg) {
    m_bmpSkin.DeleteObject();
    m_bmpSkin.LoadBitmap(id);
    m_SkinConfig = cfg;
    SetWindowSize();
}

void CxMenuButton::SetWindowSize() {
    const SkinConfig& k = m_SkinConfig;
    int parts = k.nLeftWidth + k.nMiddleWidth + k.nRightWidth;
    if (!k.nHeight || !parts || !m_hWnd) return;
    CRect rc;
    GetWindowRect(&rc);
    HWND parent = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : nullptr;
    if (parent) {
        ::ScreenToClient(parent, reinterpret_cast<POINT*>(&rc.left));
        ::ScreenToClient(parent, reinterpret_cast<POINT*>(&rc.right));
    }
    int width = rc.Width() > parts ? rc.Width() : parts;
    SetWindowPos(nullptr, rc.left, rc.top, width, k.nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CxMenuButton::SetMenuItems(Item* items, int n) {
    m_aItems.RemoveAll();
    for (int i = 0; items && i < n; ++i) m_aItems.Add(items[i]);
    show_text(false);
}

int CxMenuButton::AddString(const unsigned short* text) {
    Item item{text ? CString(text) : CString(), 0};
    int index = static_cast<int>(m_aItems.Add(item));
    show_text(false);
    return index;
}

int CxMenuButton::DeleteString(unsigned int index) {
    if (index < static_cast<unsigned int>(GetCount())) m_aItems.RemoveAt(index);
    show_text(false);
    return GetCount();
}

int CxMenuButton::SetItemData(int index, unsigned long data) {
    if (index >= 0 && index < GetCount()) m_aItems[index].dwData = data;
    return index;
}

unsigned long CxMenuButton::GetItemData(int index) const {
    return index >= 0 && index < GetCount() ? m_aItems[index].dwData : 0;
}

int CxMenuButton::SetCurSel(int index) {
    if (index < 0 || index >= GetCount()) return -1;
    m_nCurSel = index;
    show_text(true);
    return index;
}

int CxMenuButton::SelectString(int startAfter, const unsigned short* text) {
    int n = GetCount();
    CString wanted = text ? CString(text) : CString();
    int start = (startAfter < 0 || startAfter >= n) ? 0 : startAfter + 1;
    for (int k = 0; k < n; ++k) {
        int i = (start + k) % n;
        if (m_aItems[i].strText == wanted) return i;
    }
    return -1;
}

// Once the button has its window: a tab stop, its window text what it shows.
void CxMenuButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    SetWindowSize();
    ModifyStyle(0, WS_TABSTOP);
    show_text(false);
}

int CxMenuButton::OnCreate(LPCREATESTRUCT cs) {
    int r = CButton::OnCreate(cs);
    if (r != -1) {
        SetWindowSize();
        ModifyStyle(0, WS_TABSTOP);
        show_text(false);
    }
    return r;
}

BOOL CxMenuButton::OnEraseBkgnd(CDC* pDC) {
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(0xFF, 0xFF, 0xFF));
    return TRUE;
}

void CxMenuButton::DrawItem(LPDRAWITEMSTRUCT dis) {
    CDC* dc = CDC::FromHandle(dis->hDC);
    const CRect rc(dis->rcItem);
    const SkinConfig& k = m_SkinConfig;
    int row = (dis->itemState & ODS_DISABLED) ? 2 : ((dis->itemState & ODS_SELECTED) || m_bDropped) ? 1 : 0;
    int h = k.nHeight, y = row * h;
    int middleEnd = rc.right - k.nRightWidth - rc.left;

    if (m_bmpSkin.m_hObject) {
        CDC mem;
        mem.CreateCompatibleDC(dc);
        CBitmap* old = mem.SelectObject(&m_bmpSkin);
        dc->BitBlt(0, 0, k.nLeftWidth, h, &mem, 0, y, SRCCOPY);
        dc->StretchBlt(k.nLeftWidth, 0, middleEnd - k.nLeftWidth, h, &mem, k.nLeftWidth, y, k.nMiddleWidth, h, SRCCOPY);
        dc->BitBlt(middleEnd, 0, k.nRightWidth, h, &mem, k.nLeftWidth + k.nMiddleWidth, y, SRCCOPY);
        mem.SelectObject(old);
    }

    const CString& text = shown_text();
    show_text(false);
    int saved = dc->SaveDC();
    if (CFont* font = GetFont(); font && font->m_hObject) dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    CRect textRect(k.nLeftWidth, 0, middleEnd, h);
    dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    // The focus cue, unless the window hides it until the keyboard is used.
    if ((dis->itemState & ODS_FOCUS) && !(dis->itemState & ODS_NOFOCUSRECT)) {
        CRect cue(3, 3, rc.Width() - 3, h - 3);
        if (cue.Width() > 0 && cue.Height() > 0) ::DrawFocusRect(dis->hDC, &cue);
    }
    dc->RestoreDC(saved);
}

void CxMenuButton::OnClicked() { open_list(); }

// Opens the list as a drop-down list opens: the focus first (CBN_SETFOCUS when it was
// elsewhere), then CBN_DROPDOWN, in which the parent may still fill the items. A parent that
// heard CBN_DROPDOWN always hears the list close: a button that then has no items, or whose
// list cannot be made, closes at once as a cancelled list does. A button that has gone tells
// nothing more.
void CxMenuButton::open_list() {
    if (m_bDropped) return;
    HWND self = m_hWnd;
    if (::GetFocus() != self) {
        ::SetFocus(self);
        if (!::IsWindow(self)) return;
    }
    if (!notify(self, 0, 0, m_nCurSel, CBN_DROPDOWN)) return;
    m_bDropped = true;
    // An open list owns itself (it goes with its window); one that could not open is dropped
    // here.
    auto list = std::make_unique<CxMenuList>(this);
    if (GetCount() > 0 && list->Create()) {
        list.release();
        Invalidate();
        return;
    }
    OnSelEndCancel(0, 0);
}

void CxMenuButton::notify_parent(UINT xmbCode, UINT cbnCode) { notify(m_hWnd, m_nNotifyMsg, xmbCode, m_nCurSel, cbnCode); }

// The list has gone: CBN_CLOSEUP, and CBN_KILLFOCUS when the focus went elsewhere while it was
// open (another program, another window). False when the button has gone.
static bool tell_closed(HWND self) {
    if (!notify(self, 0, 0, -1, CBN_CLOSEUP)) return false;
    if (::GetFocus() != self && !notify(self, 0, 0, -1, CBN_KILLFOCUS)) return false;
    return true;
}

LRESULT CxMenuButton::OnSelEndOK(WPARAM wParam, LPARAM) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index >= GetCount()) {
        // The list has closed without a row: as a cancel. Otherwise nothing changes.
        if (m_bDropped) OnSelEndCancel(0, 0);
        return 0;
    }
    bool changed = index != m_nCurSel;
    m_bDropped = false;
    m_nCurSel = index;
    show_text(true);
    // Each message may be the last: a handler may destroy the button, and the object with it.
    HWND self = m_hWnd;
    if (!notify(self, m_nNotifyMsg, WM_XMB_SELENDOK, index, CBN_SELENDOK)) return 1;
    if (!tell_closed(self)) return 1;
    if (changed && !notify(self, m_nNotifyMsg, WM_XMB_SELCHANGE, index, CBN_SELCHANGE)) return 1;
    Invalidate();
    return 1;
}

LRESULT CxMenuButton::OnSelEndCancel(WPARAM, LPARAM) {
    m_bDropped = false;
    HWND self = m_hWnd;
    if (!notify(self, m_nNotifyMsg, WM_XMB_SELENDCANCEL, m_nCurSel, CBN_SELENDCANCEL)) return 1;
    if (!tell_closed(self)) return 1;
    Invalidate();
    return 1;
}

// What the button draws: the caption, or the selected item's text when it shows the
// selection and the selection is an item.
const CString& CxMenuButton::shown_text() const {
    return (!m_bUpdateCaption || m_nCurSel < 0 || m_nCurSel >= GetCount()) ? m_strCaption : m_aItems[m_nCurSel].strText;
}

// Makes the window text what the button draws, so that whoever reads the window (a screen
// reader, a test) reads what is shown. repaint: through WM_SETTEXT, which the button answers by
// repainting; otherwise stored quietly.
void CxMenuButton::show_text(bool repaint) {
    HWND h = m_hWnd;
    if (!h) return;
    const CString& shown = shown_text();
    int n = static_cast<int>(::DefWindowProcW(h, WM_GETTEXTLENGTH, 0, 0));
    if (n == shown.GetLength()) {
        std::wstring now(n + 1, L'\0');
        ::DefWindowProcW(h, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&now[0]));
        if (wcscmp(now.c_str(), shown.GetString()) == 0) return;
    }
    if (repaint) ::SetWindowTextW(h, shown);
    else ::DefWindowProcW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.GetString()));
}

LRESULT CxMenuButton::OnGetText(WPARAM, LPARAM) {
    show_text(false);
    return Default();
}

// Arrows and letters are the button's; so is Enter while there is a list to open (the
// dialog's default button stays the default).
LRESULT CxMenuButton::OnGetDlgCode(WPARAM, LPARAM msg) {
    LRESULT code = Default() | DLGC_WANTARROWS | DLGC_WANTCHARS;
    const MSG* m = reinterpret_cast<const MSG*>(msg);
    if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && GetCount() > 0) code |= DLGC_WANTMESSAGE;
    return code;
}

LRESULT CxMenuButton::OnKeyDown(WPARAM key, LPARAM) { return take_key(static_cast<UINT>(key), false) ? 0 : Default(); }

LRESULT CxMenuButton::OnSysKeyDown(WPARAM key, LPARAM flags) {
    return take_key(static_cast<UINT>(key), (flags & (1 << 29)) != 0) ? 0 : Default();
}

LRESULT CxMenuButton::OnChar(WPARAM ch, LPARAM) {
    if (ch <= L' ' || m_bDropped) return Default();
    select_from_keyboard(menu_detail::next_item_starting_with(m_aItems, m_nCurSel, static_cast<wchar_t>(ch)));
    return 0;
}

// The keys of the closed button, as a drop-down list takes them: Space, Enter, Alt+Down and F4
// open the list; Up, Down (and Left, Right), Home and End select. True when the key was taken.
bool CxMenuButton::take_key(UINT key, bool alt) {
    if (m_bDropped) return false;
    int n = GetCount(), cur = m_nCurSel;
    if (cur >= n) cur = -1;
    if (alt) {
        if (key != VK_DOWN || n < 1) return false;
        open_list();
        return true;
    }
    switch (key) {
    case VK_SPACE: case VK_RETURN: case VK_F4:
        if (n < 1) return false;   // nothing to open: the keys stay the dialog's and the button's
        open_list();
        return true;
    case VK_UP: case VK_LEFT: select_from_keyboard(cur < 0 ? 0 : cur - 1); return true;
    case VK_DOWN: case VK_RIGHT: select_from_keyboard(cur < 0 ? 0 : cur + 1); return true;
    case VK_HOME: select_from_keyboard(0); return true;
    case VK_END: select_from_keyboard(n - 1); return true;
    default: return false;
    }
}

// A selection made from the keyboard with the list closed: takes effect at once and is told
// as a changed choice is (no SELENDOK: nothing was chosen from a list).
void CxMenuButton::select_from_keyboard(int index) {
    if (index < 0 || index >= GetCount() || index == m_nCurSel) return;
    m_nCurSel = index;
    show_text(true);
    Invalidate();
    notify(m_hWnd, m_nNotifyMsg, WM_XMB_SELCHANGE, index, CBN_SELCHANGE);
}

// While the list is open it has the focus: a move between the button and its list (through
// the button's window, when the focus comes back) is no change of focus for the parent.
void CxMenuButton::OnSetFocus(CWnd*) {
    Default();
    if (!m_bDropped) notify(m_hWnd, 0, 0, m_nCurSel, CBN_SETFOCUS);
}

void CxMenuButton::OnKillFocus(CWnd*) {
    Default();
    if (!m_bDropped) notify(m_hWnd, 0, 0, m_nCurSel, CBN_KILLFOCUS);
}

// The list goes before the window, without a word: the parent may be going too.
void CxMenuButton::OnDestroy() {
    if (m_bDropped) CxMenuList::destroy_list_of(this);
    Default();
}
