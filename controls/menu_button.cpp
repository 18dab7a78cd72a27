// CxMenuButton: the skinned drop-down menu button.
#include "MenuButton.h"
#include "menu_internal.h"
#include <commctrl.h>
#include <stddef.h>
#include <memory>
#include <string>

namespace {

const UINT kSkinBitmap = 30500;
const CxMenuButton::SkinConfig kDefaultSkin = {28, 12, 18, 30};
const UINT_PTR kKeyboardSubclass = 0x4D42;   // the button's keyboard and text procedure below

// The protected state of a button, reached from this file's window procedure. A view only:
// never an object of its own.
struct ButtonState : CxMenuButton {
    static bool& dropped(CxMenuButton& b) { return b.*(&ButtonState::m_bDropped); }
    static int& cur_sel(CxMenuButton& b) { return b.*(&ButtonState::m_nCurSel); }
    static unsigned int notify_msg(const CxMenuButton& b) { return b.*(&ButtonState::m_nNotifyMsg); }
    static void open(CxMenuButton& b) { (b.*(&ButtonState::OnClicked))(); }
    static const CString& shown(const CxMenuButton& b) {
        return shown_text(b.*(&ButtonState::m_strCaption), b.*(&ButtonState::m_bUpdateCaption),
                          b.*(&ButtonState::m_nCurSel), b.*(&ButtonState::m_aItems));
    }
    // What the button draws: the caption, or the selected item's text when it shows the
    // selection and the selection is an item.
    static const CString& shown_text(const CString& caption, bool update, int sel, const CArray<Item>& items) {
        return (!update || sel < 0 || sel >= items.GetSize()) ? caption : items[sel].strText;
    }
};

// Makes the window text what the button draws, so that whoever reads the window (a screen
// reader, a test) reads what is shown. repaint: through WM_SETTEXT, which the button answers by
// repainting; otherwise stored quietly.
void show_text(CxMenuButton& b, bool repaint) {
    HWND h = b.m_hWnd;
    if (!h) return;
    const CString& shown = ButtonState::shown(b);
    int n = static_cast<int>(DefWindowProcW(h, WM_GETTEXTLENGTH, 0, 0));
    if (n == shown.GetLength()) {
        std::wstring now(n + 1, L'\0');
        DefWindowProcW(h, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&now[0]));
        if (wcscmp(now.c_str(), shown.GetString()) == 0) return;
    }
    if (repaint) ::SetWindowTextW(h, shown);
    else DefWindowProcW(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown.GetString()));
}

// The extra notification (when set), then the combo-box style WM_COMMAND, to the parent.
void notify(CxMenuButton& b, UINT xmbCode, UINT cbnCode) {
    HWND self = b.m_hWnd, parent = ::GetParent(self);
    if (!parent) return;
    if (UINT msg = ButtonState::notify_msg(b)) ::SendMessageW(parent, msg, xmbCode, ButtonState::cur_sel(b));
    ::SendMessageW(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(self), cbnCode), reinterpret_cast<LPARAM>(self));
}

// A selection made from the keyboard with the list closed: takes effect at once and is told
// as a changed choice is (no SELENDOK: nothing was chosen from a list).
void select_from_keyboard(CxMenuButton& b, int index) {
    if (index < 0 || index >= b.GetCount() || index == b.GetCurSel()) return;
    ButtonState::cur_sel(b) = index;
    show_text(b, true);
    b.Invalidate();
    notify(b, WM_XMB_SELCHANGE, CBN_SELCHANGE);
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

namespace {

// The keys of the closed button, as a drop-down list takes them: Space, Enter, Alt+Down and F4
// open the list; Up, Down (and Left, Right), Home and End select. True when the key was taken.
bool button_key(CxMenuButton& b, WPARAM vk, bool alt) {
    if (ButtonState::dropped(b)) return false;
    int n = b.GetCount(), cur = b.GetCurSel();
    if (cur >= n) cur = -1;
    if (alt) {
        if (vk != VK_DOWN || n < 1) return false;
        ButtonState::open(b);
        return true;
    }
    switch (vk) {
    case VK_SPACE: case VK_RETURN: case VK_F4:
        if (n < 1) return false;   // nothing to open: the keys stay the dialog's and the button's
        ButtonState::open(b);
        return true;
    case VK_UP: case VK_LEFT: select_from_keyboard(b, cur < 0 ? 0 : cur - 1); return true;
    case VK_DOWN: case VK_RIGHT: select_from_keyboard(b, cur < 0 ? 0 : cur + 1); return true;
    case VK_HOME: select_from_keyboard(b, 0); return true;
    case VK_END: select_from_keyboard(b, n - 1); return true;
    default: return false;
    }
}

// The button's own procedure over the platform's: the keyboard, the window text, and an open
// list that must not outlive the window.
LRESULT CALLBACK button_proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* b = reinterpret_cast<CxMenuButton*>(ref);
    if (CWnd::FromHandlePermanent(h) != b) return DefSubclassProc(h, msg, wp, lp);   // no longer ours
    switch (msg) {
    case WM_GETDLGCODE: {
        // Arrows and letters are the button's; so is Enter while there is a list to open (the
        // dialog's default button stays the default).
        LRESULT code = DefSubclassProc(h, msg, wp, lp) | DLGC_WANTARROWS | DLGC_WANTCHARS;
        const MSG* m = reinterpret_cast<const MSG*>(lp);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && b->GetCount() > 0) code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (button_key(*b, wp, msg == WM_SYSKEYDOWN && (lp & (1 << 29)))) return 0;
        break;
    case WM_CHAR:
        if (wp > L' ' && !ButtonState::dropped(*b)) {
            select_from_keyboard(*b, menu_detail::next_item_starting_with(b->GetMenuItems(), b->GetCurSel(), static_cast<wchar_t>(wp)));
            return 0;
        }
        break;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        show_text(*b, false);
        break;
    case WM_DESTROY:
        if (ButtonState::dropped(*b)) menu_detail::close_open_list(b);
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, button_proc, kKeyboardSubclass);
        break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}

// Once the button has its window: a tab stop, with its own procedure over the platform's.
void attach(CxMenuButton& b) {
    if (!b.m_hWnd) return;
    b.ModifyStyle(0, WS_TABSTOP);
    SetWindowSubclass(b.m_hWnd, button_proc, kKeyboardSubclass, reinterpret_cast<DWORD_PTR>(&b));
    show_text(b, false);
}

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
    // An open list must not outlive the button it draws and reports to; the window, if it
    // outlives the object, no longer reaches it.
    if (m_bDropped) menu_detail::close_open_list(this);
    if (m_hWnd) RemoveWindowSubclass(m_hWnd, button_proc, kKeyboardSubclass);
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
    show_text(*this, false);
}

int CxMenuButton::AddString(const unsigned short* text) {
    Item item{text ? CString(text) : CString(), 0};
    int index = static_cast<int>(m_aItems.Add(item));
    show_text(*this, false);
    return index;
}

int CxMenuButton::DeleteString(unsigned int index) {
    if (index < static_cast<unsigned int>(GetCount())) m_aItems.RemoveAt(index);
    show_text(*this, false);
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
    show_text(*this, true);
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
    attach(*this);
}

int CxMenuButton::OnCreate(LPCREATESTRUCT cs) {
    int r = CButton::OnCreate(cs);
    if (r != -1) {
        SetWindowSize();
        attach(*this);
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

    const CString& text = ButtonState::shown_text(m_strCaption, m_bUpdateCaption, m_nCurSel, m_aItems);
    show_text(*this, false);
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

void CxMenuButton::notify_parent(UINT xmbCode, UINT cbnCode) { notify(*this, xmbCode, cbnCode); }

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
    show_text(*this, true);
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
