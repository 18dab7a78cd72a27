// CWnd: creation, destruction and the thin wrappers over the window functions.
#include "afx_impl.h"
#include <stdio.h>

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) DestroyWindow();
    if (m_hWnd) Detach();
}

const wchar_t* AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    static thread_local wchar_t name[80];
    swprintf(name, 80, L"MfcLite:%x:%p:%p:%p", nClassStyle, (void*)hCursor, (void*)hbrBackground, (void*)hIcon);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (GetClassInfoExW(afx_dll_instance(), name, &wc)) return name;
    wc.style = nClassStyle;
    wc.lpfnWndProc = &DefWindowProcW;
    wc.hInstance = afx_dll_instance();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
    return name;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs) { return TRUE; }

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    int x, int y, int width, int height, HWND hParent, HMENU idOrMenu, void* param) {
    if (m_hWnd) return FALSE;
    if (!className) className = AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW));
    // The executable's classes and the system's are found through its instance; the classes
    // of AfxRegisterWndClass through this module's.
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    HINSTANCE inst = AfxGetInstanceHandle();
    if (!GetClassInfoExW(inst, className, &wc)) inst = afx_dll_instance();

    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x; cs.y = y; cs.cx = width; cs.cy = height;
    cs.hwndParent = hParent;
    cs.hMenu = idOrMenu;
    cs.hInstance = inst;
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs)) return FALSE;

    afx::hook_window_create(this);
    HWND h = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                             cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    afx::unhook_window_create();
    return h != nullptr && m_hWnd == h;
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    const RECT& rc, CWnd* pParent, UINT nID, void* param) {
    return CreateEx(exStyle, className, windowName, style, rc.left, rc.top, rc.right - rc.left,
                    rc.bottom - rc.top, pParent ? pParent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), param);
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                  CWnd* pParent, UINT nID, CCreateContext*) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, pParent, nID);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    HWND h = m_hWnd;
    BOOL ok = ::DestroyWindow(h);
    // A window of another thread, or one that was only attached, is left by this object.
    if (m_hWnd == h && !::IsWindow(h)) Detach();
    return ok;
}

void CWnd::PostNcDestroy() {}
void CWnd::PreSubclassWindow() {}
void CWnd::DoDataExchange(CDataExchange*) {}

// Callers may ask a null window pointer for its handle (as with MFC): the check of this
// must survive optimisation.
__attribute__((optimize("no-delete-null-pointer-checks")))
HWND CWnd::GetSafeHwnd() const { return this ? m_hWnd : nullptr; }
__attribute__((optimize("no-delete-null-pointer-checks")))
CWnd::operator HWND() const { return this ? m_hWnd : nullptr; }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
BOOL CWnd::IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)); }

static BOOL modify(HWND h, int index, DWORD remove, DWORD add, UINT swpFlags) {
    DWORD old = static_cast<DWORD>(GetWindowLongPtrW(h, index));
    DWORD now = (old & ~remove) | add;
    if (old == now) return FALSE;
    SetWindowLongPtrW(h, index, static_cast<LONG_PTR>(now));
    if (swpFlags)
        SetWindowPos(h, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}
BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) { return modify(m_hWnd, GWL_STYLE, remove, add, swpFlags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags) { return modify(m_hWnd, GWL_EXSTYLE, remove, add, swpFlags); }

BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
void CWnd::MoveWindow(int x, int y, int w, int h, BOOL bRepaint) { ::MoveWindow(m_hWnd, x, y, w, h, bRepaint); }
void CWnd::MoveWindow(LPCRECT rc, BOOL bRepaint) {
    ::MoveWindow(m_hWnd, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT flags) {
    return ::SetWindowPos(m_hWnd, pInsertAfter ? pInsertAfter->m_hWnd : nullptr, x, y, cx, cy, flags);
}
void CWnd::GetWindowRect(LPRECT rc) const { ::GetWindowRect(m_hWnd, rc); }
void CWnd::GetClientRect(LPRECT rc) const { ::GetClientRect(m_hWnd, rc); }
void CWnd::ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
void CWnd::ScreenToClient(LPRECT rc) const {
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rc->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rc->right));
}
void CWnd::ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
void CWnd::ClientToScreen(LPRECT rc) const {
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rc->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rc->right));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    HWND ref = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) ref = ::GetParent(m_hWnd);
    CRect area, me;
    if (ref && !(GetStyle() & WS_CHILD)) ::GetWindowRect(ref, &area);
    else if (ref) ::GetClientRect(ref, &area);
    else SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(&me);
    int x = area.left + (area.Width() - me.Width()) / 2, y = area.top + (area.Height() - me.Height()) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::SetWindowText(const wchar_t* text) { ::SetWindowTextW(m_hWnd, text ? text : L""); }
int CWnd::GetWindowText(wchar_t* buffer, int n) const { return ::GetWindowTextW(m_hWnd, buffer, n); }
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
void CWnd::GetWindowText(CString& text) const {
    int n = GetWindowTextLength();
    wchar_t* buf = text.GetBufferSetLength(n);
    int got = n ? ::GetWindowTextW(m_hWnd, buf, n + 1) : 0;
    text.ReleaseBuffer(got);
}
void CWnd::SetDlgItemText(int nID, const wchar_t* text) { ::SetDlgItemTextW(m_hWnd, nID, text ? text : L""); }
int CWnd::GetDlgItemText(int nID, CString& text) const {
    text.Empty();
    HWND h = ::GetDlgItem(m_hWnd, nID);
    if (h) FromHandle(h)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT rc, BOOL bErase) { ::InvalidateRect(m_hWnd, rc, bErase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT rc, HRGN rgn, UINT flags) { return ::RedrawWindow(m_hWnd, rc, rgn, flags); }
void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
    ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}
CFont* CWnd::GetFont() const {
    return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
}
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* pDC) {
    if (!pDC) return 0;
    HDC h = pDC->m_hDC;
    int r = ::ReleaseDC(m_hWnd, h);
    afx::forget_temp_dc(h);
    return r;
}

LRESULT CWnd::SendMessage(UINT msg, WPARAM w, LPARAM l) const { return ::SendMessageW(m_hWnd, msg, w, l); }
BOOL CWnd::PostMessage(UINT msg, WPARAM w, LPARAM l) const { return ::PostMessageW(m_hWnd, msg, w, l); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT ms, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, ms, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
BOOL CWnd::ReleaseCapture() { return ::ReleaseCapture(); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}
