// CxMenuButton: the skinned drop-down menu button.
#include "MenuButton.h"
#include <stddef.h>
#include <memory>

namespace {

const UINT kSkinBitmap = 30500;
const CxMenuButton::SkinConfig kDefaultSkin = {28, 12, 18, 30};

} // namespace

BEGIN_MESSAGE_MAP(CxMenuButton, CButton)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
    ON_MESSAGE(WM_XMB_SELENDOK, OnSelEndOK)
    ON_MESSAGE(WM_XMB_SELENDCANCEL, OnSelEndCancel)
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
    if (m_bDropped) CxMenuList::close_for(this);
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
}

int CxMenuButton::AddString(const unsigned short* text) {
    Item item{text ? CString(text) : CString(), 0};
    return static_cast<int>(m_aItems.Add(item));
}

int CxMenuButton::DeleteString(unsigned int index) {
    if (index < static_cast<unsigned int>(GetCount())) m_aItems.RemoveAt(index);
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
    if (m_hWnd) SetWindowText(m_aItems[index].strText);
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

void CxMenuButton::PreSubclassWindow() {
    CButton::PreSubclassWindow();
    SetWindowSize();
}

int CxMenuButton::OnCreate(LPCREATESTRUCT cs) {
    int r = CButton::OnCreate(cs);
    if (r != -1) SetWindowSize();
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

    const CString& text = (!m_bUpdateCaption || m_nCurSel < 0 || m_nCurSel >= GetCount())
                              ? m_strCaption : m_aItems[m_nCurSel].strText;
    int saved = dc->SaveDC();
    if (CFont* font = GetFont(); font && font->m_hObject) dc->SelectObject(font);
    dc->SetBkMode(TRANSPARENT);
    CRect textRect(k.nLeftWidth, 0, middleEnd, h);
    dc->DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    dc->RestoreDC(saved);
}

void CxMenuButton::OnClicked() {
    if (GetCount() < 1) return;
    m_bDropped = true;
    // An open list owns itself (it goes with its window); one that could not open is dropped
    // here, and without its list the button is not open.
    auto list = std::make_unique<CxMenuList>(this);
    if (list->Create()) list.release();
    else m_bDropped = false;
    Invalidate();
}

void CxMenuButton::notify_parent(UINT xmbCode, UINT cbnCode) {
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return;
    if (m_nNotifyMsg) ::SendMessageW(parent, m_nNotifyMsg, xmbCode, m_nCurSel);
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), cbnCode), reinterpret_cast<LPARAM>(m_hWnd));
}

LRESULT CxMenuButton::OnSelEndOK(WPARAM wParam, LPARAM) {
    int index = static_cast<int>(wParam);
    if (index < 0 || index >= GetCount()) {
        // The list has closed without a row: the button closes too, nothing else changes.
        if (m_bDropped) {
            m_bDropped = false;
            Invalidate();
        }
        return 0;
    }
    bool changed = index != m_nCurSel;
    m_bDropped = false;
    m_nCurSel = index;
    SetWindowText(m_aItems[index].strText);
    HWND self = m_hWnd;
    notify_parent(WM_XMB_SELENDOK, CBN_SELENDOK);
    if (changed && ::IsWindow(self)) notify_parent(WM_XMB_SELCHANGE, CBN_SELCHANGE);
    if (::IsWindow(self)) Invalidate();
    return 1;
}

LRESULT CxMenuButton::OnSelEndCancel(WPARAM, LPARAM) {
    m_bDropped = false;
    HWND self = m_hWnd;
    notify_parent(WM_XMB_SELENDCANCEL, CBN_SELENDCANCEL);
    if (::IsWindow(self)) Invalidate();
    return 1;
}
