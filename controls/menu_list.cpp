// CxMenuList: the popup list of the menu button.
#include "MenuButton.h"

namespace {

const COLORREF kHoverColour = RGB(0xEE, 0xEE, 0xFF);
const COLORREF kBorderColour = RGB(0x46, 0x82, 0xB4);
const UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX;

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

    CRect now;
    GetWindowRect(&now);
    m_rcList = CRect(now.left, now.top, now.left + m_nButtonWidth, now.top + m_pOwner->GetCount() * m_nItemHeight);
    // Kept on the screen.
    int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    if (m_rcList.right > screenW) m_rcList.OffsetRect(screenW - m_rcList.right, 0);
    if (m_rcList.left < 0) m_rcList.OffsetRect(-m_rcList.left, 0);
    if (m_rcList.bottom > screenH) m_rcList.OffsetRect(0, screenH - m_rcList.bottom);
    MoveWindow(&m_rcList);
    SetCapture();
    return TRUE;
}

void CxMenuList::PostNcDestroy() {
    if (m_bCreated) delete this;
}

int CxMenuList::row_at(CPoint client) const {
    if (!m_pOwner || m_nItemHeight <= 0) return -1;
    CRect rc;
    GetClientRect(&rc);
    for (int i = 0, n = m_pOwner->GetCount(); i < n; ++i)
        if (CRect(rc.left, i * m_nItemHeight, rc.right, (i + 1) * m_nItemHeight).PtInRect(client)) return i;
    return -1;
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
    for (int i = 0, n = static_cast<int>(items.GetSize()); i < n; ++i) {
        if (i == m_nHover) dc.FillSolidRect(client.left, i * m_nItemHeight, client.Width(), m_nItemHeight, kHoverColour);
        CRect text(k.nLeftWidth, i * m_nItemHeight, client.right - k.nRightWidth - client.left, (i + 1) * m_nItemHeight);
        dc.DrawText(items[i].strText, &text, kTextFormat);
    }
    CBrush border(kBorderColour);
    dc.FrameRect(&client, &border);
}

void CxMenuList::OnMouseMove(UINT, CPoint point) {
    int row = row_at(point);
    if (row == m_nHover || !m_pOwner) return;
    m_nHover = row;
    m_pOwner->SendMessage(WM_XMB_SELCHANGE, static_cast<WPARAM>(row), 0);
    Invalidate();
}

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

void CxMenuList::close_for(CxMenuButton* owner) {
    if (owner && owner->m_hWnd)
        EnumThreadWindows(GetWindowThreadProcessId(owner->m_hWnd, nullptr), close_list_of, reinterpret_cast<LPARAM>(owner));
}

void CxMenuList::close_with(UINT message) {
    // Closes once: what the button's notifications start may bring another closing message.
    CxMenuButton* owner = m_pOwner;
    if (!owner) return;
    m_pOwner = nullptr;
    ReleaseCapture();
    owner->SendMessage(message, static_cast<WPARAM>(m_nHover), 0);
    DestroyWindow();   // deletes this object
}
