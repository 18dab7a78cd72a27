// CxMenuList: the popup list of the menu button.
#include "MenuButton.h"
#include "menu_internal.h"
#include "work_area.h"
#include <map>
#include <mutex>

namespace {

const COLORREF kHoverColour = RGB(0xEE, 0xEE, 0xFF);
const COLORREF kBorderColour = RGB(0x46, 0x82, 0xB4);
const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;

// What an open list keeps beyond its exported fields, one record per list of the thread,
// made with the list's window and dropped with the object.
struct Scrolling {
    POINT cursor{};   // where the mouse was last seen: a move message without a move changes nothing
    int top = 0;      // the first row shown: a list longer than the work area shows some rows
    int wheel = 0;    // the wheel's turn not yet a whole notch
};
// One table for all threads, under a lock (a thread_local object with a destructor is not safe
// in a mingw-w64 DLL). A record is only made and dropped on its list's thread, so the record
// a list finds stays where it is while the list lives.
struct ScrollingTable {
    std::mutex lock;
    std::map<const CxMenuList*, Scrolling> lists;
};
ScrollingTable& scrolling_table() {
    static ScrollingTable table;
    return table;
}

// The list's record; null before its window is made.
Scrolling* scrolling_of(const CxMenuList* l) {
    ScrollingTable& t = scrolling_table();
    std::lock_guard<std::mutex> hold(t.lock);
    auto it = t.lists.find(l);
    return it == t.lists.end() ? nullptr : &it->second;
}

Scrolling& make_scrolling(const CxMenuList* l) {
    ScrollingTable& t = scrolling_table();
    std::lock_guard<std::mutex> hold(t.lock);
    return t.lists[l];
}

void drop_scrolling(const CxMenuList* l) {
    ScrollingTable& t = scrolling_table();
    std::lock_guard<std::mutex> hold(t.lock);
    t.lists.erase(l);
}

} // namespace

BEGIN_MESSAGE_MAP(CxMenuList, CWnd)
    ON_WM_PAINT()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_ACTIVATEAPP()
    ON_WM_KILLFOCUS()
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
    ON_MESSAGE(WM_KEYDOWN, OnKeyDown)
    ON_MESSAGE(WM_SYSKEYDOWN, OnSysKeyDown)
    ON_MESSAGE(WM_CHAR, OnChar)
    ON_MESSAGE(WM_CLOSE, OnClose)
    ON_MESSAGE(WM_MOUSEWHEEL, OnMouseWheel)
    ON_MESSAGE(LB_GETCOUNT, OnGetCount)
    ON_MESSAGE(LB_GETCURSEL, OnGetCurSel)
    ON_MESSAGE(LB_GETTOPINDEX, OnGetTopIndex)
    ON_MESSAGE(LB_GETTEXTLEN, OnGetTextLen)
    ON_MESSAGE(LB_GETTEXT, OnGetText)
END_MESSAGE_MAP()

CxMenuList::CxMenuList(CxMenuButton* owner)
    : m_pOwner(owner), m_nHover(owner ? owner->m_nCurSel : -1), m_nButtonWidth(0), m_nItemHeight(0) {}

CxMenuList::~CxMenuList() { drop_scrolling(this); }

BOOL CxMenuList::Create() {
    if (!m_pOwner || !m_pOwner->m_hWnd || m_hWnd) return FALSE;
    CRect button;
    m_pOwner->GetWindowRect(&button);
    const wchar_t* cls = AfxRegisterWndClass(CS_SAVEBITS | CS_CLASSDC | CS_HREDRAW | CS_VREDRAW);
    if (!CreateEx(WS_EX_TOOLWINDOW, cls, L"", WS_POPUP | WS_VISIBLE, button.left, button.bottom, 100, 100,
                  m_pOwner->m_hWnd, nullptr))
        return FALSE;
    m_bCreated = true;
    Scrolling& scrolling = make_scrolling(this);
    GetCursorPos(&scrolling.cursor);

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
    const CRect work(work_area_near(m_pOwner->m_hWnd));
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

    // The highlighted row shown, and its text the window text.
    if (m_nHover < m_pOwner->GetCount()) show_row(m_nHover);
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

int CxMenuList::top_row() const {
    const Scrolling* scrolling = scrolling_of(this);
    return scrolling ? scrolling->top : 0;
}

// How many whole rows the list shows (at least one).
int CxMenuList::shown_rows() const {
    CRect client;
    GetClientRect(&client);
    const int rows = m_nItemHeight > 0 ? client.Height() / m_nItemHeight : 1;
    return rows > 1 ? rows : 1;
}

// Makes top the first row shown, kept between the first row and the last page.
void CxMenuList::set_top(int top) {
    Scrolling* scrolling = scrolling_of(this);
    if (!scrolling || !m_pOwner) return;
    const int last = m_pOwner->GetCount() - shown_rows();
    if (top > last) top = last;
    if (top < 0) top = 0;
    if (top == scrolling->top) return;
    scrolling->top = top;
    Invalidate();
}

// Scrolls as little as it takes to show row.
void CxMenuList::show_row(int row) {
    if (row < 0) return;
    const int top = top_row(), shown = shown_rows();
    if (row < top) set_top(row);
    else if (row >= top + shown) set_top(row - shown + 1);
}

int CxMenuList::row_at(CPoint client) const {
    if (!m_pOwner || m_nItemHeight <= 0) return -1;
    CRect rc;
    GetClientRect(&rc);
    if (!rc.PtInRect(client)) return -1;
    const int row = top_row() + (client.y - rc.top) / m_nItemHeight;
    return row < m_pOwner->GetCount() ? row : -1;
}

// Highlights row (-1: none) and scrolls it into view, makes the row's text the list's window
// text (what a screen reader reads out), and last tells the button as a move of the mouse
// does: whoever handles that message may destroy the list.
void CxMenuList::set_hover(int row) {
    if (row == m_nHover || !m_pOwner) return;
    CxMenuButton* owner = m_pOwner;
    m_nHover = row;
    show_row(row);
    SetWindowText(row >= 0 && row < owner->GetCount() ? owner->GetMenuItems()[row].strText.GetString() : L"");
    Invalidate();
    owner->SendMessage(WM_XMB_SELCHANGE, static_cast<WPARAM>(row), 0);
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
    const int top = top_row();
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

// The row under the mouse, once the mouse has really moved: the move message that the system
// sends when the list appears must not clear the highlighted selection.
void CxMenuList::OnMouseMove(UINT, CPoint point) {
    if (Scrolling* scrolling = scrolling_of(this)) {
        POINT now;
        if (GetCursorPos(&now) && now.x == scrolling->cursor.x && now.y == scrolling->cursor.y) return;
        scrolling->cursor = now;
    }
    set_hover(row_at(point));
}

// The row under the pointer is chosen, whether or not it was highlighted (the pointer may not
// have moved since the list opened under it); a release off the rows cancels.
void CxMenuList::OnLButtonUp(UINT, CPoint point) {
    CPoint screen = point;
    ClientToScreen(&screen);
    const int row = m_rcList.PtInRect(screen) ? row_at(point) : -1;
    if (row >= 0) m_nHover = row;
    close_with(row >= 0 ? WM_XMB_SELENDOK : WM_XMB_SELENDCANCEL);
}

// Another program took over, or the focus went to another window: the list closes without a
// choice, once the messages of the moment have been handled. Wine hides a dialog that is being
// destroyed before it destroys its windows, so the list hears this in the middle of its
// owner's destruction; by the time the close comes, the list has gone with the button and
// nobody is told.
void CxMenuList::OnActivateApp(BOOL active, DWORD) {
    if (!active && m_pOwner) PostMessage(WM_CLOSE);
}

void CxMenuList::OnKillFocus(CWnd* newWnd) {
    ReleaseCapture();
    if (m_pOwner && (!newWnd || newWnd->m_hWnd != m_pOwner->m_hWnd)) PostMessage(WM_CLOSE);
}

LRESULT CxMenuList::OnClose(WPARAM, LPARAM) {
    close_with(WM_XMB_SELENDCANCEL);
    return 0;
}

// The list holds the keyboard while it is open.
LRESULT CxMenuList::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }

LRESULT CxMenuList::OnKeyDown(WPARAM key, LPARAM) { return take_key(static_cast<UINT>(key), false) ? 0 : Default(); }

LRESULT CxMenuList::OnSysKeyDown(WPARAM key, LPARAM flags) {
    return take_key(static_cast<UINT>(key), (flags & (1 << 29)) != 0) ? 0 : Default();
}

LRESULT CxMenuList::OnChar(WPARAM ch, LPARAM) {
    if (!m_pOwner || ch <= L' ') return Default();
    int row = menu_detail::next_item_starting_with(m_pOwner->GetMenuItems(), m_nHover, static_cast<wchar_t>(ch));
    if (row >= 0) set_hover(row);
    return 0;
}

// The keys of the open list: Up, Down, Home, End, PageUp and PageDown move the highlight, a
// letter moves it to the next row starting with it, Enter chooses, Escape, Alt+Up and F4 close
// without a choice. True when the key was taken.
bool CxMenuList::take_key(UINT key, bool alt) {
    if (!m_pOwner) return false;
    int n = m_pOwner->GetCount(), row = m_nHover;
    if (row >= n) row = -1;
    if (alt) {
        if (key != VK_UP && key != VK_F4) return key == VK_DOWN;
        close_with(WM_XMB_SELENDCANCEL);
        return true;
    }
    // A page is the rows shown less one, as a list box pages.
    int page = shown_rows() - 1;
    if (page < 1) page = 1;
    switch (key) {
    case VK_UP: set_hover(row < 0 ? 0 : (row > 0 ? row - 1 : 0)); return true;
    case VK_DOWN: set_hover(row < 0 ? 0 : (row + 1 < n ? row + 1 : n - 1)); return true;
    case VK_HOME: set_hover(0); return true;
    case VK_END: set_hover(n - 1); return true;
    case VK_PRIOR: set_hover(row - page > 0 ? row - page : 0); return true;
    case VK_NEXT: set_hover(row < 0 ? (page < n ? page : n - 1) : (row + page < n ? row + page : n - 1)); return true;
    case VK_RETURN: close_with(row >= 0 ? WM_XMB_SELENDOK : WM_XMB_SELENDCANCEL); return true;
    case VK_ESCAPE: case VK_F4: close_with(WM_XMB_SELENDCANCEL); return true;
    default: return false;
    }
}

// The system's number of rows a notch (a page when it says so); the row then under the mouse
// is the highlighted one, as a move would make it.
LRESULT CxMenuList::OnMouseWheel(WPARAM wParam, LPARAM) {
    Scrolling* scrolling = scrolling_of(this);
    if (!scrolling) return 0;
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int shown = shown_rows();
    const int step = lines == WHEEL_PAGESCROLL || lines > static_cast<UINT>(shown) ? shown : static_cast<int>(lines);
    scrolling->wheel += GET_WHEEL_DELTA_WPARAM(wParam);
    const int notches = scrolling->wheel / WHEEL_DELTA;
    scrolling->wheel -= notches * WHEEL_DELTA;
    set_top(scrolling->top - notches * step);
    POINT at;
    CRect client;
    GetClientRect(&client);
    if (notches && GetCursorPos(&at) && ::ScreenToClient(m_hWnd, &at) && client.PtInRect(at)) set_hover(row_at(at));
    return 0;
}

// The rows read as a list box's are; the current row is the highlighted one.
LRESULT CxMenuList::OnGetCount(WPARAM, LPARAM) { return m_pOwner ? m_pOwner->GetCount() : 0; }
LRESULT CxMenuList::OnGetCurSel(WPARAM, LPARAM) {
    return m_pOwner && m_nHover >= 0 && m_nHover < m_pOwner->GetCount() ? m_nHover : LB_ERR;
}
LRESULT CxMenuList::OnGetTopIndex(WPARAM, LPARAM) { return top_row(); }
LRESULT CxMenuList::OnGetTextLen(WPARAM row, LPARAM) {
    const int i = static_cast<int>(row);
    if (!m_pOwner || i < 0 || i >= m_pOwner->GetCount()) return LB_ERR;
    return m_pOwner->GetMenuItems()[i].strText.GetLength();
}
LRESULT CxMenuList::OnGetText(WPARAM row, LPARAM buffer) {
    const int i = static_cast<int>(row);
    if (!m_pOwner || i < 0 || i >= m_pOwner->GetCount()) return LB_ERR;
    const CString& t = m_pOwner->GetMenuItems()[i].strText;
    if (buffer) wcscpy(reinterpret_cast<wchar_t*>(buffer), t.GetString());
    return t.GetLength();
}

namespace {
BOOL CALLBACK destroy_if_list_of(HWND window, LPARAM owner) {
    auto* list = dynamic_cast<CxMenuList*>(CWnd::FromHandlePermanent(window));
    if (list && list->GetOwnerButton() == reinterpret_cast<CxMenuButton*>(owner)) list->DestroyWindow();
    return TRUE;
}
} // namespace

void CxMenuList::destroy_list_of(CxMenuButton* owner) {
    // The list is a window of the button's thread, which is this one (the button's window may
    // already be gone).
    if (owner) EnumThreadWindows(GetCurrentThreadId(), destroy_if_list_of, reinterpret_cast<LPARAM>(owner));
}

void CxMenuList::close_for(CxMenuButton* owner) { destroy_list_of(owner); }

void CxMenuList::close_with(UINT message) {
    // Closes once: what the button's notifications start may bring another closing message.
    CxMenuButton* owner = m_pOwner;
    if (!owner) return;
    const int row = m_nHover;
    const HWND button = owner->m_hWnd;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    // The focus goes back before the list goes, as a move within the button: no change of
    // focus for the parent.
    if (::GetFocus() == m_hWnd) ::SetFocus(button);
    m_pOwner = nullptr;
    DestroyWindow();   // deletes the list
    if (::IsWindow(button)) ::SendMessageW(button, message, static_cast<WPARAM>(row), 0);
}
