// GDI objects: fonts, bitmaps, brushes and pens, and their temporary wrappers.
#include "afx_impl.h"
#include <wchar.h>
#include <typeinfo>

namespace afx {
namespace {

struct temp_gdi_deleter { void operator()(CGdiObject* p) const { p->m_hObject = nullptr; delete p; } };
using temp_map = std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject, temp_gdi_deleter>>;

temp_map& gdi_temps() {
    return thread_object<temp_map>();
}

} // namespace

template <class T> T* temp_gdi(HGDIOBJ h) {
    if (!h) return nullptr;
    temp_map& m = gdi_temps();
    auto it = m.find(h);
    if (it != m.end() && typeid(*it->second) == typeid(T)) return static_cast<T*>(it->second.get());
    if (it != m.end()) m.erase(it);   // the handle now names another kind of object
    // Wrappers of deleted objects are dropped before a new one is added.
    for (auto i = m.begin(); i != m.end();)
        i = GetObjectType(i->first) ? std::next(i) : m.erase(i);
    std::unique_ptr<CGdiObject, temp_gdi_deleter> p(new T);
    p->m_hObject = h;
    return static_cast<T*>(m.emplace(h, std::move(p)).first->second.get());
}

template CGdiObject* temp_gdi<CGdiObject>(HGDIOBJ);
template CFont* temp_gdi<CFont>(HGDIOBJ);
template CBitmap* temp_gdi<CBitmap>(HGDIOBJ);
template CBrush* temp_gdi<CBrush>(HGDIOBJ);
template CPen* temp_gdi<CPen>(HGDIOBJ);

} // namespace afx

CGdiObject::CGdiObject() : m_hObject(nullptr) {}
CGdiObject::~CGdiObject() { DeleteObject(); }
CGdiObject* CGdiObject::FromHandle(HGDIOBJ h) { return afx::temp_gdi<CGdiObject>(h); }
BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (!h || m_hObject) return FALSE;
    m_hObject = h;
    return TRUE;
}
HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}
BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    win32::unique_gdi doomed(Detach());
    return TRUE;
}
// Like CWnd::GetSafeHwnd, callers may ask a null pointer.
__attribute__((optimize("no-delete-null-pointer-checks")))
HGDIOBJ CGdiObject::GetSafeHandle() const { return this ? m_hObject : nullptr; }
CGdiObject::operator HGDIOBJ() const { return m_hObject; }
int CGdiObject::GetObject(int n, void* p) const { return m_hObject ? ::GetObjectW(m_hObject, n, p) : 0; }
BOOL CGdiObject::CreateStockObject(int nIndex) { return Attach(::GetStockObject(nIndex)); }

CFont* CFont::FromHandle(HFONT h) { return afx::temp_gdi<CFont>(h); }
BOOL CFont::CreateFontIndirect(const LOGFONTW* lf) { return lf && Attach(::CreateFontIndirectW(lf)); }
BOOL CFont::CreatePointFont(int nPointSize, const wchar_t* faceName, CDC* pDC) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (faceName) wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreatePointFontIndirect(&lf, pDC);
}
BOOL CFont::CreatePointFontIndirect(const LOGFONTW* lf, CDC* pDC) {
    if (!lf) return FALSE;
    LOGFONTW copy = *lf;
    win32::unique_screen_dc screen;
    HDC dc = pDC ? pDC->m_hDC : nullptr;
    if (!dc) { screen.reset(::GetDC(nullptr)); dc = screen.get(); }
    // Tenths of a point to the device's character height (negative: without leading).
    copy.lfHeight = -MulDiv(lf->lfHeight < 0 ? -lf->lfHeight : lf->lfHeight, ::GetDeviceCaps(dc, LOGPIXELSY), 720);
    return CreateFontIndirect(&copy);
}
int CFont::GetLogFont(LOGFONTW* lf) const { return GetObject(sizeof(LOGFONTW), lf); }
CFont::operator HFONT() const { return static_cast<HFONT>(m_hObject); }

CBitmap* CBitmap::FromHandle(HBITMAP h) { return afx::temp_gdi<CBitmap>(h); }
BOOL CBitmap::LoadBitmap(UINT nID) { return LoadBitmap(MAKEINTRESOURCEW(nID)); }
BOOL CBitmap::LoadBitmap(const wchar_t* name) {
    HINSTANCE h = AfxFindResourceHandle(name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
    return h && Attach(::LoadBitmapW(h, name));
}
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int w, int h) {
    return pDC && Attach(::CreateCompatibleBitmap(pDC->m_hDC, w, h));
}
int CBitmap::GetBitmap(BITMAP* bm) const { return GetObject(sizeof(BITMAP), bm); }
CBitmap::operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }

CBrush::CBrush() = default;
CBrush::CBrush(COLORREF color) { CreateSolidBrush(color); }
CBrush* CBrush::FromHandle(HBRUSH h) { return afx::temp_gdi<CBrush>(h); }
BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
BOOL CBrush::CreateSysColorBrush(int index) { return Attach(::GetSysColorBrush(index)); }
CBrush::operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }

CPen::CPen() = default;
CPen::CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
CPen* CPen::FromHandle(HPEN h) { return afx::temp_gdi<CPen>(h); }
BOOL CPen::CreatePen(int style, int width, COLORREF color) { return Attach(::CreatePen(style, width, color)); }
CPen::operator HPEN() const { return static_cast<HPEN>(m_hObject); }
