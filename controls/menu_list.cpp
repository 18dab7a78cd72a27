// CxMenuList: the popup list of the menu button.
#include "MenuButton.h"
#include "menu_internal.h"
#include <commctrl.h>
#include <limits.h>

namespace {

const COLORREF kHoverColour = RGB(0xEE, 0xEE, 0xFF);
const COLORREF kBorderColour = RGB(0x46, 0x82, 0xB4);
const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;
const UINT_PTR kKeyboardSubclass = 0x4D4C;   // the list's keyboard procedure below

// The protected state of a list, reached from this file's functions. A view only: never an
// object of its own.
struct ListState : CxMenuList {
    static CxMenuButton*& owner(CxMenuList& l) { return l.*(&ListState::m_pOwner); }
    static int& hover(CxMenuList& l) { return l.*(&ListState::m_nHover); }
    static void mouse_at(CxMenuList& l, CPoint client) { (l.*(&ListState::OnMouseMove))(0, client); }
};

// What the list's own procedure keeps while the list is open.
struct ListKeys {
    CxMenuList* list;
    POINT cursor;    // where the mouse was last seen: a move message without a move changes nothing
    int top = 0;     // the first row shown: a list longer than the work area shows some rows
    int wheel = 0;   // the wheel's turn not yet a whole notch
};

LRESULT CALLBACK list_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref);

// The state of the list's procedure; null before it is attached.
ListKeys* keys_of(const CxMenuList& l) {
    DWORD_PTR ref = 0;
    if (!l.m_hWnd || !GetWindowSubclass(l.m_hWnd, list_proc, kKeyboardSubclass, &ref)) return nullptr;
    return reinterpret_cast<ListKeys*>(ref);
}

int top_row(const CxMenuList& l) {
    const ListKeys* keys = keys_of(l);
    return keys ? keys->top : 0;
}

// How many whole rows the list shows (at least one).
int shown_rows(const CxMenuList& l) {
    CRect client;
    l.GetClientRect(&client);
    const int rows = l.GetItemHeight() > 0 ? client.Height() / l.GetItemHeight() : 1;
    return rows > 1 ? rows : 1;
}

// Makes top the first row shown, kept between the first row and the last page.
void set_top(CxMenuList& l, int top) {
    ListKeys* keys = keys_of(l);
    CxMenuButton* owner = ListState::owner(l);
    if (!keys || !owner) return;
    const int last = owner->GetCount() - shown_rows(l);
    if (top > last) top = last;
    if (top < 0) top = 0;
    if (top == keys->top) return;
    keys->top = top;
    l.Invalidate();
}

// Scrolls as little as it takes to show row.
void show_row(CxMenuList& l, int row) {
    if (row < 0) return;
    const int top = top_row(l), shown = shown_rows(l);
    if (row < top) set_top(l, row);
    else if (row >= top + shown) set_top(l, row - shown + 1);
}

// The work area of the monitor the button is on. For the primary monitor that is the system's
// work area, which Windows gives for it too and which Wine keeps apart from its monitor record.
CRect work_area_of(HWND button) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    HMONITOR monitor = MonitorFromWindow(button, MONITOR_DEFAULTTONEAREST);
    if (monitor && GetMonitorInfoW(monitor, &mi) && !(mi.dwFlags & MONITORINFOF_PRIMARY)) return CRect(mi.rcWork);
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return CRect(work);
    return CRect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

// Highlights row (-1: none) and scrolls it into view, tells the button as a move of the mouse
// does, and makes the row's text the list's window text, which is what a screen reader reads
// out.
void set_hover(CxMenuList& l, int row) {
    CxMenuButton* owner = ListState::owner(l);
    if (row == l.GetHover() || !owner) return;
    ListState::hover(l) = row;
    show_row(l, row);
    owner->SendMessage(WM_XMB_SELCHANGE, static_cast<WPARAM>(row), 0);
    if (!l.m_hWnd) return;
    l.SetWindowText(row >= 0 && row < owner->GetCount() ? owner->GetMenuItems()[row].strText.GetString() : L"");
    l.Invalidate();
}

// The keys of the open list: Up, Down, Home, End, PageUp and PageDown move the highlight, a
// letter moves it to the next row starting with it, Enter chooses, Escape, Alt+Up and F4 close
// without a choice. True when the key was taken.
bool list_key(CxMenuList& l, WPARAM vk, bool alt) {
    CxMenuButton* owner = ListState::owner(l);
    if (!owner) return false;
    int n = owner->GetCount(), row = l.GetHover();
    if (row >= n) row = -1;
    if (alt) {
        if (vk != VK_UP && vk != VK_F4) return vk == VK_DOWN;
        menu_detail::close_list(l, WM_XMB_SELENDCANCEL);
        return true;
    }
    // A page is the rows shown less one, as a list box pages.
    int page = shown_rows(l) - 1;
    if (page < 1) page = 1;
    switch (vk) {
    case VK_UP: set_hover(l, row < 0 ? 0 : (row > 0 ? row - 1 : 0)); return true;
    case VK_DOWN: set_hover(l, row < 0 ? 0 : (row + 1 < n ? row + 1 : n - 1)); return true;
    case VK_HOME: set_hover(l, 0); return true;
    case VK_END: set_hover(l, n - 1); return true;
    case VK_PRIOR: set_hover(l, row - page > 0 ? row - page : 0); return true;
    case VK_NEXT: set_hover(l, row < 0 ? (page < n ? page : n - 1) : (row + page < n ? row + page : n - 1)); return true;
    case VK_RETURN: menu_detail::close_list(l, row >= 0 ? WM_XMB_SELENDOK : WM_XMB_SELENDCANCEL); return true;
    case VK_ESCAPE: case VK_F4: menu_detail::close_list(l, WM_XMB_SELENDCANCEL); return true;
    default: return false;
    }
}

// The list's own procedure over the platform's: it holds the keyboard and the wheel while the
// list is open, and its rows are readable as a list box's are (LB_GETCOUNT, LB_GETTEXTLEN,
// LB_GETTEXT, LB_GETCURSEL: the highlighted row, LB_GETTOPINDEX: the first row shown).
LRESULT CALLBACK list_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* keys = reinterpret_cast<ListKeys*>(ref);
    CxMenuList& l = *keys->list;
    CxMenuButton* owner = ListState::owner(l);
    switch (msg) {
    case WM_GETDLGCODE:
        return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (list_key(l, wp, msg == WM_SYSKEYDOWN && (lp & (1 << 29)))) return 0;
        break;
    case WM_CHAR:
        if (owner && wp > L' ') {
            int row = menu_detail::next_item_starting_with(owner->GetMenuItems(), l.GetHover(), static_cast<wchar_t>(wp));
            if (row >= 0) set_hover(l, row);
            return 0;
        }
        break;
    case WM_CLOSE:
        menu_detail::close_list(l, WM_XMB_SELENDCANCEL);
        return 0;
    case WM_MOUSEMOVE: {
        POINT now;
        if (GetCursorPos(&now) && now.x == keys->cursor.x && now.y == keys->cursor.y) return 0;
        keys->cursor = now;
        break;
    }
    case LB_GETCOUNT:
        return owner ? owner->GetCount() : 0;
    case LB_GETCURSEL:
        return owner && l.GetHover() >= 0 && l.GetHover() < owner->GetCount() ? l.GetHover() : LB_ERR;
    case LB_GETTOPINDEX:
        return keys->top;
    case WM_MOUSEWHEEL: {
        // The system's number of rows a notch (a page when it says so); the row then under the
        // mouse is the highlighted one, as a move would make it.
        UINT lines = 3;
        SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        const int shown = shown_rows(l);
        const int step = lines == WHEEL_PAGESCROLL || lines > static_cast<UINT>(shown) ? shown : static_cast<int>(lines);
        keys->wheel += GET_WHEEL_DELTA_WPARAM(wp);
        const int notches = keys->wheel / WHEEL_DELTA;
        keys->wheel -= notches * WHEEL_DELTA;
        set_top(l, keys->top - notches * step);
        POINT at;
        CRect client;
        l.GetClientRect(&client);
        if (notches && GetCursorPos(&at) && ::ScreenToClient(h, &at) && client.PtInRect(at)) ListState::mouse_at(l, at);
        return 0;
    }
    case LB_GETTEXTLEN:
    case LB_GETTEXT: {
        int i = static_cast<int>(wp);
        if (!owner || i < 0 || i >= owner->GetCount()) return LB_ERR;
        const CString& t = owner->GetMenuItems()[i].strText;
        if (msg == LB_GETTEXT && lp) wcscpy(reinterpret_cast<wchar_t*>(lp), t.GetString());
        return t.GetLength();
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, list_proc, kKeyboardSubclass);
        delete keys;
        return DefSubclassProc(h, msg, wp, lp);   // deletes the list
    }
    return DefSubclassProc(h, msg, wp, lp);
}

} // namespace

BEGIN_MESSAGE_MAP(CxMenuList, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_ACTIVATEAPP()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CxMenuList::CxMenuList(CxMenuButton* owner)
    : m_pOwner(owner), m_nHover(owner ? owner->m_nCurSel : -1), m_nButtonWidth(0), m_nItemHeight(0) {}

CxMenuList::~CxMenuList() = default;

BOOL CxMenuList::Create() {
    if (!m_pOwner || !m_pOwner->m_hWnd || m_hWnd) return FALSE;
    CRect button;
    m_pOwner->GetWindowRect(&button);
    const wchar_t* cls = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW);
    if (!CreateEx(WS_EX_TOOLWINDOW, cls, L"", WS_POPUP | WS_VISIBLE, button.left, button.bottom, 100, 100,
                  m_pOwner->m_hWnd, nullptr))
        return FALSE;
    m_bCreated = true;

    // Rows as high as the button's text plus room above and below it.
    CFont* font = m_pOwner->GetFont();
    if (font && font->m_hObject) SetFont(font, FALSE);
    TEXTMETRICW tm{};
    {
        CClientDC dc(this);
        int saved = dc.SaveDC();
        if (font && font->m_hObject) dc.SelectObject(font);
        dc.GetTextMetrics(&tm);
        dc.RestoreDC(saved);
    }
    m_nItemHeight = tm.tmHeight + 6 * GetSystemMetrics(SM_CYEDGE);
    m_nButtonWidth = button.Width();

    // Kept inside the work area of the button's monitor: as many rows as it holds, the others
    // scrolled to.
    const CRect work = work_area_of(m_pOwner->m_hWnd);
    int rows = m_pOwner->GetCount();
    if (m_nItemHeight > 0 && rows > work.Height() / m_nItemHeight) rows = work.Height() / m_nItemHeight;
    if (rows < 1) rows = 1;
    CRect now;
    GetWindowRect(&now);
    m_rcList = CRect(now.left, now.top, now.left + m_nButtonWidth, now.top + rows * m_nItemHeight);
    if (m_rcList.right > work.right) m_rcList.OffsetRect(work.right - m_rcList.right, 0);
    if (m_rcList.left < work.left) m_rcList.OffsetRect(work.left - m_rcList.left, 0);
    if (m_rcList.bottom > work.bottom) m_rcList.OffsetRect(0, work.bottom - m_rcList.bottom);
    MoveWindow(&m_rcList);

    // The keyboard, and the highlighted row as the window text.
    auto* keys = new ListKeys{this, {}};
    GetCursorPos(&keys->cursor);
    if (!SetWindowSubclass(m_hWnd, list_proc, kKeyboardSubclass, reinterpret_cast<DWORD_PTR>(keys))) delete keys;
    if (m_nHover < m_pOwner->GetCount()) show_row(*this, m_nHover);
    if (m_nHover >= 0 && m_nHover < m_pOwner->GetCount()) SetWindowText(m_pOwner->GetMenuItems()[m_nHover].strText);
    SetCapture();
    return TRUE;
}

void CxMenuList::PostNcDestroy() {
    // Gone without closing (its owner window went, or it was destroyed from outside): the
    // button is no longer open.
    if (m_pOwner) {
        m_pOwner->m_bDropped = false;
        if (::IsWindow(m_pOwner->m_hWnd)) m_pOwner->Invalidate();
        m_pOwner = nullptr;
    }
    if (m_bCreated) delete this;
}

int CxMenuList::row_at(CPoint client) const {
    if (!m_pOwner || m_nItemHeight <= 0) return -1;
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(client)) return -1;
    const int row = top_row(*this) + (client.y - rc.top) / m_nItemHeight;
    return row < m_pOwner->GetCount() ? row : -1;
}

void CxMenuList::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNHIGHLIGHT));
    if (!m_pOwner) return;
    CFont* font = m_pOwner->GetFont();
    if (font && font->m_hObject) dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    const CxMenuButton::SkinConfig& k = m_pOwner->GetSkinConfig();
    const CArray<CxMenuButton::Item>& items = m_pOwner->GetMenuItems();
    const int top = top_row(*this);
    for (int i = top, n = static_cast<int>(items.GetSize()); i < n; ++i) {
        const int y = (i - top) * m_nItemHeight;
        if (y >= client.bottom) break;
        if (i == m_nHover) dc.FillSolidRect(client.left, y, client.Width(), m_nItemHeight, kHoverColour);
        CRect text(k.nLeftWidth, y, client.right - k.nRightWidth - client.left, y + m_nItemHeight);
        dc.DrawText(items[i].strText, &text, kTextFormat);
    }
    CBrush border(kBorderColour);
    dc.FrameRect(&client, &border);
}

void CxMenuList::OnMouseMove(UINT, CPoint point) { set_hover(*this, row_at(point)); }

void CxMenuList::OnLButtonUp(UINT, CPoint point) {
    ClientToScreen(&point);
    close_with(m_rcList.PtInRect(point) ? WM_XMB_SELENDOK : WM_XMB_SELENDCANCEL);
}

void CxMenuList::OnActivateApp(BOOL active, DWORD) {
    if (!active) close_with(WM_XMB_SELENDCANCEL);
}

void CxMenuList::OnKillFocus(CWnd*) { ReleaseCapture(); }

namespace {
BOOL CALLBACK close_list_of(HWND window, LPARAM owner) {
    auto* list = dynamic_cast<CxMenuList*>(CWnd::FromHandlePermanent(window));
    if (list && list->GetOwnerButton() == reinterpret_cast<CxMenuButton*>(owner)) list->DestroyWindow();
    return TRUE;
}
} // namespace

void menu_detail::close_open_list(CxMenuButton* owner) {
    // The list is a window of the button's thread, which is this one (the button's window may
    // already be gone).
    if (owner) EnumThreadWindows(GetCurrentThreadId(), close_list_of, reinterpret_cast<LPARAM>(owner));
}

void CxMenuList::close_for(CxMenuButton* owner) { menu_detail::close_open_list(owner); }

void menu_detail::close_list(CxMenuList& list, UINT message) {
    // Closes once: what the button's notifications start may bring another closing message.
    CxMenuButton* owner = ListState::owner(list);
    if (!owner) return;
    ListState::owner(list) = nullptr;
    const int row = list.GetHover();
    const HWND button = owner->m_hWnd;
    const bool hadFocus = ::GetFocus() == list.m_hWnd;
    ::ReleaseCapture();
    list.DestroyWindow();   // deletes the list
    if (!::IsWindow(button)) return;
    if (hadFocus) ::SetFocus(button);
    ::SendMessageW(button, message, static_cast<WPARAM>(row), 0);
}

void CxMenuList::close_with(UINT message) { menu_detail::close_list(*this, message); }
