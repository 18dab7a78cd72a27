// Device contexts: CDC and the paint, client-area and window DCs.
#include "afx_impl.h"

namespace afx {
namespace {

struct temp_dc_deleter { void operator()(CDC* p) const { p->m_hDC = nullptr; delete p; } };
using temp_map = std::unordered_map<HDC, std::unique_ptr<CDC, temp_dc_deleter>>;

temp_map& dc_temps() {
    return thread_object<temp_map>();
}

} // namespace

void forget_temp_dc(HDC h) { dc_temps().erase(h); }

} // namespace afx

CDC::CDC() : m_hDC(nullptr) {}
CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC h) {
    if (!h) return nullptr;
    auto& m = afx::dc_temps();
    auto it = m.find(h);
    if (it != m.end()) return it->second.get();
    for (auto i = m.begin(); i != m.end();)
        i = GetObjectType(i->first) ? std::next(i) : m.erase(i);
    std::unique_ptr<CDC, afx::temp_dc_deleter> p(new CDC);
    p->m_hDC = h;
    return m.emplace(h, std::move(p)).first->second.get();
}

BOOL CDC::Attach(HDC h) {
    if (!h || m_hDC) return FALSE;
    m_hDC = h;
    return TRUE;
}
HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}
BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    win32::unique_dc doomed(Detach());
    return TRUE;
}
// Like CWnd::GetSafeHwnd, callers may ask a null pointer.
__attribute__((optimize("no-delete-null-pointer-checks")))
HDC CDC::GetSafeHdc() const { return this ? m_hDC : nullptr; }
CDC::operator HDC() const { return m_hDC; }

BOOL CDC::CreateCompatibleDC(CDC* pDC) { return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr)); }

CGdiObject* CDC::SelectObject(CGdiObject* p) {
    return p ? CGdiObject::FromHandle(::SelectObject(m_hDC, p->m_hObject)) : nullptr;
}
CFont* CDC::SelectObject(CFont* p) {
    return p ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, p->m_hObject))) : nullptr;
}
CBitmap* CDC::SelectObject(CBitmap* p) {
    return p ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, p->m_hObject))) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* p) {
    return p ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, p->m_hObject))) : nullptr;
}
CPen* CDC::SelectObject(CPen* p) {
    return p ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, p->m_hObject))) : nullptr;
}
CGdiObject* CDC::SelectStockObject(int index) {
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}
CFont* CDC::GetCurrentFont() const {
    return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT)));
}

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, rop);
}
BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* src, int xs, int ys, int ws, int hs, DWORD rop) {
    return ::StretchBlt(m_hDC, x, y, w, h, src ? src->m_hDC : nullptr, xs, ys, ws, hs, rop);
}
BOOL CDC::TextOut(int x, int y, const wchar_t* text, int n) { return ::TextOutW(m_hDC, x, y, text, n); }
BOOL CDC::TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
int CDC::DrawText(const wchar_t* text, int n, LPRECT rc, UINT format) {
    return ::DrawTextW(m_hDC, text, n, rc, format);
}
int CDC::DrawText(const CString& text, LPRECT rc, UINT format) {
    return ::DrawTextW(m_hDC, text, text.GetLength(), rc, format);
}
CSize CDC::GetTextExtent(const wchar_t* text, int n) const {
    SIZE s{};
    ::GetTextExtentPoint32W(m_hDC, text, n, &s);
    return CSize(s);
}
CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }
BOOL CDC::GetTextMetrics(TEXTMETRICW* tm) const { return ::GetTextMetricsW(m_hDC, tm); }
void CDC::FillSolidRect(LPCRECT rc, COLORREF color) {
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rc, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}
void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color) {
    RECT rc = {x, y, x + cx, y + cy};
    FillSolidRect(&rc, color);
}
void CDC::FillRect(LPCRECT rc, CBrush* brush) { ::FillRect(m_hDC, rc, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr); }
void CDC::FrameRect(LPCRECT rc, CBrush* brush) { ::FrameRect(m_hDC, rc, brush ? static_cast<HBRUSH>(brush->m_hObject) : nullptr); }
BOOL CDC::Rectangle(LPCRECT rc) { return ::Rectangle(m_hDC, rc->left, rc->top, rc->right, rc->bottom); }
CPoint CDC::MoveTo(int x, int y) {
    POINT old{};
    ::MoveToEx(m_hDC, x, y, &old);
    return CPoint(old);
}
BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

CPaintDC::CPaintDC(CWnd* pWnd) : m_ps{}, m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
    Attach(::BeginPaint(m_hWnd, &m_ps));
}
CPaintDC::~CPaintDC() {
    if (Detach()) ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }
CClientDC::~CClientDC() {
    if (HDC h = Detach()) ::ReleaseDC(m_hWnd, h);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }
CWindowDC::~CWindowDC() {
    if (HDC h = Detach()) ::ReleaseDC(m_hWnd, h);
}
