// The per-thread handle map of windows, and the hook that attaches a window to its CWnd
// while it is being created.
#include "afx_impl.h"

namespace afx {

WndThreadState::~WndThreadState() {
    for (auto& entry : permanent) {
        WNDPROC super = AfxWndAccess::super(entry.second);
        if (super && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(entry.first, GWLP_WNDPROC)) == &AfxWndProc)
            SetWindowLongPtrW(entry.first, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
    }
}

WndThreadState& wnd_state() {
    return thread_object<WndThreadState>();
}

void subclass(CWnd* p, HWND h) {
    auto old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (old != &AfxWndProc) AfxWndAccess::super(p) = old;
}

namespace {

LRESULT CALLBACK create_hook(int code, WPARAM wParam, LPARAM lParam) {
    WndThreadState& s = wnd_state();
    LRESULT r = CallNextHookEx(nullptr, code, wParam, lParam);
    if (code == HCBT_CREATEWND && s.wndInit) {
        CWnd* p = s.wndInit;
        s.wndInit = nullptr;
        HWND h = reinterpret_cast<HWND>(wParam);
        p->Attach(h);
        subclass(p, h);
        s.createHook.reset();   // only the first window of the creation is ours
    }
    return r;
}

} // namespace

void hook_window_create(CWnd* p) {
    WndThreadState& s = wnd_state();
    s.wndInit = p;
    if (!s.createHook)
        s.createHook.reset(SetWindowsHookExW(WH_CBT, &create_hook, nullptr, GetCurrentThreadId()));
}

bool unhook_window_create() {
    WndThreadState& s = wnd_state();
    s.createHook.reset();
    bool attached = s.wndInit == nullptr;
    s.wndInit = nullptr;
    return attached;
}

} // namespace afx

CWnd* CWnd::FromHandlePermanent(HWND h) {
    if (!h) return nullptr;
    auto& m = afx::wnd_state().permanent;
    auto it = m.find(h);
    return it == m.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND h) {
    if (!h) return nullptr;
    if (CWnd* p = FromHandlePermanent(h)) return p;
    auto& temps = afx::wnd_state().temporary;
    auto it = temps.find(h);
    if (it != temps.end()) return it->second.get();
    // Wrappers of windows that are gone are dropped before a new one is added.
    for (auto i = temps.begin(); i != temps.end();)
        i = ::IsWindow(i->first) ? std::next(i) : temps.erase(i);
    std::unique_ptr<CWnd, afx::temp_wnd_deleter> p(new CWnd);
    p->m_hWnd = h;
    return temps.emplace(h, std::move(p)).first->second.get();
}

BOOL CWnd::Attach(HWND h) {
    if (!h || m_hWnd) return FALSE;
    auto& s = afx::wnd_state();
    if (!s.permanent.emplace(h, this).second) return FALSE;
    s.temporary.erase(h);
    m_hWnd = h;
    return TRUE;
}

HWND CWnd::Detach() {
    HWND h = m_hWnd;
    if (!h) return nullptr;
    // A window still routed through this object gets its own procedure back.
    if (m_pfnSuper && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC)) == &AfxWndProc)
        SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    auto& m = afx::wnd_state().permanent;
    auto it = m.find(h);
    if (it != m.end() && it->second == this) m.erase(it);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND h) {
    if (!::IsWindow(h) || !Attach(h)) return FALSE;
    afx::subclass(this, h);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND h = pParent ? ::GetDlgItem(pParent->m_hWnd, nID) : nullptr;
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }
