// Message dispatch: the window procedure of CWnd windows, message maps, reflection of
// notifications to the controls they are about, and the default handlers.
#include "afx_impl.h"

LRESULT CALLBACK AfxWndProc(HWND h, UINT msg, WPARAM w, LPARAM l) {
    CWnd* p = CWnd::FromHandlePermanent(h);
    if (!p) return DefWindowProcW(h, msg, w, l);   // not reached for a mapped window
    afx::WndThreadState& s = afx::wnd_state();
    MSG saved = s.lastMsg;
    s.lastMsg.hwnd = h;
    s.lastMsg.message = msg;
    s.lastMsg.wParam = w;
    s.lastMsg.lParam = l;
    LRESULT r = msg == WM_NCDESTROY ? AfxWndAccess::nc_destroyed(p, w, l) : p->WindowProc(msg, w, l);
    s.lastMsg = saved;
    return r;
}

// The last message of a window: its own handling, then the object lets it go.
LRESULT CWnd::OnNcDestroyed(WPARAM w, LPARAM l) {
    LRESULT r = WindowProc(WM_NCDESTROY, w, l);
    Detach();
    PostNcDestroy();   // may delete this object
    return r;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM w, LPARAM l) {
    LRESULT r = 0;
    if (!OnWndMsg(msg, w, l, &r)) r = DefWindowProc(msg, w, l);
    return r;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM w, LPARAM l) {
    if (m_pfnSuper) return CallWindowProcW(m_pfnSuper, m_hWnd, msg, w, l);
    return ::DefWindowProcW(m_hWnd, msg, w, l);
}

LRESULT CWnd::Default() {
    const MSG& m = afx::wnd_state().lastMsg;
    return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult) pResult = &ignored;
    switch (msg) {
    case WM_COMMAND:
        if (!OnCommand(w, l)) return FALSE;
        *pResult = 0;
        return TRUE;
    case WM_NOTIFY: {
        auto* nm = reinterpret_cast<NMHDR*>(l);
        CWnd* child = nm ? FromHandlePermanent(nm->hwndFrom) : nullptr;
        if (child && child != this && child->OnChildNotify(msg, w, l, pResult)) return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(l);
        CWnd* child = di && di->CtlType != ODT_MENU ? FromHandlePermanent(di->hwndItem) : nullptr;
        if (child && child != this && child->OnChildNotify(msg, w, l, pResult)) return TRUE;
        break;
    }
    case WM_MEASUREITEM: {
        auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(l);
        CWnd* child = mi && mi->CtlType != ODT_MENU ? FromHandlePermanent(::GetDlgItem(m_hWnd, mi->CtlID)) : nullptr;
        if (child && child != this && child->OnChildNotify(msg, w, l, pResult)) return TRUE;
        break;
    }
    default:
        break;
    }
    return dispatch_map(msg, 0, 0, w, l, pResult);
}

BOOL CWnd::OnCommand(WPARAM w, LPARAM l) {
    UINT id = LOWORD(w), code = HIWORD(w);
    HWND hCtl = reinterpret_cast<HWND>(l);
    LRESULT r = 0;
    // The control the notification is about has the first word.
    CWnd* child = hCtl ? FromHandlePermanent(hCtl) : nullptr;
    if (child && child != this && child->OnChildNotify(WM_COMMAND, w, l, &r)) return TRUE;
    return dispatch_map(WM_COMMAND, code, id, w, l, &r);
}

BOOL CWnd::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
    return ReflectChildNotify(msg, w, l, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
    UINT code = msg == WM_COMMAND ? HIWORD(w) : 0;
    return dispatch_map(WM_REFLECT_BASE + msg, code, 0, w, l, pResult);
}

namespace {

template <class F> F as(AFX_PMSG pfn) { return AfxFromPmsg<F>(pfn); }

const AFX_MSGMAP_ENTRY* find_entry(const AFX_MSGMAP* map, UINT msg, UINT code, UINT id) {
    for (; map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e)
            if (e->nMessage == msg && e->nCode == code && id >= e->nID && id <= e->nLastID) return e;
    return nullptr;
}

} // namespace

bool CWnd::dispatch_map(UINT msg, UINT code, UINT id, WPARAM w, LPARAM l, LRESULT* pResult) {
    const AFX_MSGMAP_ENTRY* e = find_entry(GetMessageMap(), msg, code, id);
    if (!e) return false;
    LRESULT r = 0;
    switch (e->nSig) {
    case AfxSig_vv:
        (this->*as<void (CWnd::*)()>(e->pfn))();
        break;
    case AfxSig_b_v:
        if (!(this->*as<BOOL (CWnd::*)()>(e->pfn))()) return false;
        break;
    case AfxSig_v_up:
        (this->*as<void (CWnd::*)(UINT_PTR)>(e->pfn))(static_cast<UINT_PTR>(w));
        break;
    case AfxSig_i_pcs:
        r = (this->*as<int (CWnd::*)(LPCREATESTRUCT)>(e->pfn))(reinterpret_cast<LPCREATESTRUCT>(l));
        break;
    case AfxSig_b_pdc:
        r = (this->*as<BOOL (CWnd::*)(CDC*)>(e->pfn))(CDC::FromHandle(reinterpret_cast<HDC>(w)));
        break;
    case AfxSig_v_u_pt:
        (this->*as<void (CWnd::*)(UINT, CPoint)>(e->pfn))(static_cast<UINT>(w), CPoint(l));
        break;
    case AfxSig_v_b_dw:
        (this->*as<void (CWnd::*)(BOOL, DWORD)>(e->pfn))(static_cast<BOOL>(w), static_cast<DWORD>(l));
        break;
    case AfxSig_v_pwnd:
        (this->*as<void (CWnd::*)(CWnd*)>(e->pfn))(FromHandle(reinterpret_cast<HWND>(w)));
        break;
    case AfxSig_l_w_l:
        r = (this->*as<LRESULT (CWnd::*)(WPARAM, LPARAM)>(e->pfn))(w, l);
        break;
    case AfxSig_v_u_ii:
        (this->*as<void (CWnd::*)(UINT, int, int)>(e->pfn))(static_cast<UINT>(w), (short)LOWORD(l), (short)HIWORD(l));
        break;
    default:
        return false;
    }
    *pResult = r;
    return true;
}

const AFX_MSGMAP* CWnd::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}
const AFX_MSGMAP* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
