// The notify popup: a topmost, non-activating window sized to its text.
#include "SplashWindow.h"
#include <afxwin.h>
#include <memory>
#include <mutex>
#include <vector>
#include "splash_lifetime.h"
#include "unique_res.h"

namespace {

const int kIconGap = 8;        // between the icon and the text
const int kEdgeGap = 4;        // between the popup and the work area's edges
const UINT_PTR kCloseTimer = 1;

class CSplashWnd : public CWnd {
public:
    CString m_text;
    SPLASH_STYLE_INFO m_style{};
    HICON m_icon = nullptr;        // a shared system icon, not released
    CFont m_font;
    CRect m_textRect;              // client coordinates

    BOOL Show(const wchar_t* text, DWORD timeout, HWND parent, int x, int y);
    BOOL PreCreateWindow(CREATESTRUCTW& cs) override;
    void PostNcDestroy() override;

protected:
    void OnPaint();
    BOOL OnEraseBkgnd(CDC*) { return TRUE; }
    void OnTimer(UINT_PTR id);
    void OnLButtonUp(UINT, CPoint) { PostMessage(WM_CLOSE); }
    DECLARE_MESSAGE_MAP()
};

// Splash windows alive in this process; each leaves the list when its window is gone, and
// the windows go with their thread and with this module (see end_thread_splashes). One list
// for all threads, under a lock: a thread_local object with a destructor is not safe in a
// mingw-w64 DLL, whose emulated thread storage may be freed before the destructor runs.
struct LiveSplash {
    std::unique_ptr<CSplashWnd> wnd;
    HWND hwnd;       // read by other threads under the lock, unlike wnd->m_hWnd
    DWORD thread;    // the thread whose window it is
};
struct LiveSplashes {
    std::mutex lock;
    std::vector<LiveSplash> list;
};
LiveSplashes& live_splashes() {
    static LiveSplashes live;
    return live;
}

// The windows of the list that belong to thread (0: every thread's).
std::vector<HWND> splash_windows_of(DWORD thread) {
    LiveSplashes& live = live_splashes();
    std::lock_guard<std::mutex> hold(live.lock);
    std::vector<HWND> out;
    for (const LiveSplash& s : live.list)
        if (!thread || s.thread == thread) out.push_back(s.hwnd);
    return out;
}

HICON icon_of(DWORD kind) {
    switch (kind & SPLASH_ICON_MASK) {
    case SPLASH_ICON_INFORMATION: return LoadIconW(nullptr, IDI_INFORMATION);
    case SPLASH_ICON_WARNING: return LoadIconW(nullptr, IDI_WARNING);
    case SPLASH_ICON_ERROR: return LoadIconW(nullptr, IDI_ERROR);
    case SPLASH_ICON_QUESTION: return LoadIconW(nullptr, IDI_QUESTION);
    default: return nullptr;
    }
}

CRect work_area_of(HWND parent, int x, int y, bool at) {
    HMONITOR mon = at ? MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST)
                      : MonitorFromWindow(parent, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (mon && GetMonitorInfoW(mon, &mi)) return CRect(mi.rcWork);
    CRect rc;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

extern "C" IMAGE_DOS_HEADER __ImageBase;
HINSTANCE uikit_instance() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// The class of splash windows, registered once per load of this module and unregistered when
// it unloads. A class that an earlier load at the same address could not unregister (its
// windows were still open) serves as it is: its procedure is the system's.
const wchar_t* splash_class() {
    static const bool ready = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(uikit_instance(), SPLASH_WINDOW_CLASS, &wc)) return true;
        wc.style = CS_SAVEBITS | CS_DROPSHADOW;
        wc.lpfnWndProc = &DefWindowProcW;
        wc.hInstance = uikit_instance();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = SPLASH_WINDOW_CLASS;
        return RegisterClassExW(&wc) != 0;
    }();
    return ready ? SPLASH_WINDOW_CLASS : nullptr;
}

} // namespace

BEGIN_MESSAGE_MAP(CSplashWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CSplashWnd::Show(const wchar_t* text, DWORD timeout, HWND parent, int x, int y) {
    m_text = text;
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(LOGFONTW), &ncm.lfMessageFont);
    LOGFONTW lf = ncm.lfMessageFont;
    if (m_style.nFontHeightAdjust) {
        int mag = (lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight) + m_style.nFontHeightAdjust;
        lf.lfHeight = lf.lfHeight < 0 ? -(mag < 1 ? 1 : mag) : (mag < 1 ? 1 : mag);
    }
    m_font.CreateFontIndirect(&lf);

    const bool at = x != 0 || y != 0;
    CRect work = work_area_of(parent, x, y, at);

    // Text size: wrapped at a third of the work area's width.
    CRect measured(0, 0, work.Width() / 3 > 200 ? work.Width() / 3 : 200, 0);
    {
        win32::unique_dc mem(CreateCompatibleDC(nullptr));
        HGDIOBJ old = SelectObject(mem.get(), m_font.m_hObject);
        DrawTextW(mem.get(), m_text, m_text.GetLength(), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(mem.get(), old);
    }
    const int iconW = m_icon ? GetSystemMetrics(SM_CXICON) : 0;
    const int iconH = m_icon ? GetSystemMetrics(SM_CYICON) : 0;
    const int edge = m_style.nBorder + m_style.nPaddingX, edgeY = m_style.nBorder + m_style.nPaddingY;
    const int contentH = measured.Height() > iconH ? measured.Height() : iconH;
    const int w = edge * 2 + (m_icon ? iconW + kIconGap : 0) + measured.Width();
    const int h = edgeY * 2 + contentH;
    m_textRect = CRect(edge + (m_icon ? iconW + kIconGap : 0), edgeY + (contentH - measured.Height()) / 2, 0, 0);
    m_textRect.right = m_textRect.left + measured.Width();
    m_textRect.bottom = m_textRect.top + measured.Height();

    int left = at ? x : work.right - kEdgeGap - w;
    int top = at ? y : work.bottom - kEdgeGap - h;
    if (left + w > work.right) left = work.right - w;
    if (top + h > work.bottom) top = work.bottom - h;
    if (left < work.left) left = work.left;
    if (top < work.top) top = work.top;

    const wchar_t* cls = splash_class();
    if (!cls || !CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls, m_text, WS_POPUP, left, top, w, h,
                  parent, nullptr))
        return FALSE;
    if (timeout) SetTimer(kCloseTimer, timeout);
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow();
    return TRUE;
}

BOOL CSplashWnd::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.hInstance = uikit_instance();
    return TRUE;
}

void CSplashWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    if (m_style.nBorder > 0) {
        dc.FillSolidRect(&rc, m_style.crBorder);
        rc.DeflateRect(m_style.nBorder, m_style.nBorder);
    }
    dc.FillSolidRect(&rc, m_style.crBack);
    if (m_icon) {
        int iconH = GetSystemMetrics(SM_CYICON);
        DrawIconEx(dc, m_style.nBorder + m_style.nPaddingX, rc.top + (rc.Height() - iconH) / 2 > rc.top ? rc.top + (rc.Height() - iconH) / 2 : rc.top,
                   m_icon, 0, 0, 0, nullptr, DI_NORMAL);
    }
    CFont* old = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_style.crText);
    CRect text = m_textRect;
    dc.DrawText(m_text, &text, DT_WORDBREAK | DT_NOPREFIX);
    dc.SelectObject(old);
}

void CSplashWnd::OnTimer(UINT_PTR id) {
    if (id != kCloseTimer) return;
    KillTimer(kCloseTimer);
    PostMessage(WM_CLOSE);
}

void CSplashWnd::PostNcDestroy() {
    std::unique_ptr<CSplashWnd> self;   // ends this object once the lock is let go
    LiveSplashes& live = live_splashes();
    std::lock_guard<std::mutex> hold(live.lock);
    for (auto it = live.list.begin(); it != live.list.end(); ++it)
        if (it->wnd.get() == this) {
            self = std::move(it->wnd);
            live.list.erase(it);
            break;
        }
}

HWND ShowSplashWindow(const wchar_t* text, DWORD dwTimeout, HWND hParent, int x, int y, DWORD dwFlags,
                      BOOL bIcon, const SPLASH_STYLE_INFO* style) {
    static const SPLASH_STYLE_INFO kDefault = {10, 10, 1, GetSysColor(COLOR_INFOBK), GetSysColor(COLOR_INFOTEXT),
                                               GetSysColor(COLOR_WINDOWFRAME), 0};
    auto wnd = std::make_unique<CSplashWnd>();
    wnd->m_style = style ? *style : kDefault;
    if (wnd->m_style.nBorder < 0) wnd->m_style.nBorder = 0;
    if (wnd->m_style.nPaddingX < 0) wnd->m_style.nPaddingX = 0;
    if (wnd->m_style.nPaddingY < 0) wnd->m_style.nPaddingY = 0;
    wnd->m_icon = bIcon ? icon_of(dwFlags) : nullptr;
    // A window that failed half-way goes with the object; a shown one joins the list, which
    // owns it until its window is gone.
    if (!wnd->Show(text ? text : L"", dwTimeout, hParent, x, y)) return nullptr;
    HWND h = wnd->m_hWnd;
    LiveSplashes& live = live_splashes();
    std::lock_guard<std::mutex> hold(live.lock);
    live.list.push_back({std::move(wnd), h, GetCurrentThreadId()});
    return h;
}

namespace {
// The entry of a window that has gone without its object hearing of it: the object goes now.
// Its window is no longer the framework's to let go of (detaching it would only make the
// framework's state for this thread anew).
void drop_gone_splash(HWND h) {
    std::unique_ptr<CSplashWnd> gone;
    {
        LiveSplashes& live = live_splashes();
        std::lock_guard<std::mutex> hold(live.lock);
        for (auto it = live.list.begin(); it != live.list.end(); ++it)
            if (it->hwnd == h) {
                gone = std::move(it->wnd);
                live.list.erase(it);
                break;
            }
    }
    if (gone) gone->m_hWnd = nullptr;
}
} // namespace

// A thread ends: its popups are destroyed now, while the framework still routes their last
// messages to their objects. Left to the system, they would go after the framework's own
// thread detach, which gives them their own procedures back: the objects would never hear of
// it. Nothing promises that this module hears of the thread's end before the framework does;
// where it comes second, the objects never hear of their window's end, and are ended here.
void end_thread_splashes() {
    for (HWND h : splash_windows_of(GetCurrentThreadId())) {
        ::DestroyWindow(h);
        if (!::IsWindow(h)) drop_gone_splash(h);
    }
}

// The module unloads while the process goes on: no window may reach its code afterwards. The
// unloading thread's popups are destroyed; another thread's are closed by that thread, which
// is asked and waited for (it handles messages, as the thread of a popup must). A thread that
// does not answer within the time has its windows handed to the system's procedure and closed
// when it gets to them; their objects stay, small and unreachable, because that thread's
// window map still names them, and only their fonts are released. Then the class goes (while
// such a window is still open it stays, and the next load at this address takes it as it is).
void end_all_splashes() {
    const DWORD kWaitMs = 2000;
    for (HWND h : splash_windows_of(GetCurrentThreadId())) ::DestroyWindow(h);
    const DWORD start = GetTickCount();
    for (HWND h : splash_windows_of(0)) {
        // Once the time is spent the rest go to the fallback: a time-out of 0 is no limit at
        // all under Wine, and this thread holds the loader lock.
        const DWORD spent = GetTickCount() - start;
        if (spent >= kWaitMs) break;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(h, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, kWaitMs - spent, &ignored);
    }
    {
        LiveSplashes& live = live_splashes();
        std::lock_guard<std::mutex> hold(live.lock);
        for (LiveSplash& s : live.list) {
            SetWindowLongPtrW(s.hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
            PostMessageW(s.hwnd, WM_CLOSE, 0, 0);
            s.wnd->m_font.DeleteObject();
            s.wnd.release();
        }
        live.list.clear();
    }
    UnregisterClassW(SPLASH_WINDOW_CLASS, uikit_instance());
}

// The process ends: its windows and memory go with it, and no object is ended now (their
// threads are gone, and so may the framework's state be).
void leave_splashes() {
    LiveSplashes& live = live_splashes();
    std::lock_guard<std::mutex> hold(live.lock);
    for (LiveSplash& s : live.list) s.wnd.release();
    live.list.clear();
}
