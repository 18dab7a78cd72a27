// The standard controls: static, button, edit, combo box.
#include "afx_impl.h"

namespace {
WPARAM wp(INT_PTR v) { return static_cast<WPARAM>(v); }
LPARAM lp(const wchar_t* s) { return reinterpret_cast<LPARAM>(s); }
} // namespace

BOOL CStatic::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* pParent, UINT nID) {
    return CWnd::Create(L"STATIC", text, style, rect, pParent, nID);
}
HBITMAP CStatic::SetBitmap(HBITMAP h) {
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(h)));
}
HBITMAP CStatic::GetBitmap() const { return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP, 0)); }

BOOL CButton::Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* pParent, UINT nID) {
    return CWnd::Create(L"BUTTON", caption, style, rect, pParent, nID);
}
int CButton::GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, wp(nCheck)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, wp(bHighlight)); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void CButton::SetButtonStyle(UINT style, BOOL bRedraw) { SendMessage(BM_SETSTYLE, style, bRedraw); }
HBITMAP CButton::SetBitmap(HBITMAP h) {
    return reinterpret_cast<HBITMAP>(SendMessage(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(h)));
}
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CButton::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
    if (msg != WM_DRAWITEM) return CWnd::OnChildNotify(msg, w, l, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    if (pResult) *pResult = TRUE;
    return TRUE;
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID) {
    return CWnd::Create(L"EDIT", nullptr, style, rect, pParent, nID);
}
void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, wp(nChars)); }
UINT CEdit::GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
void CEdit::SetSel(int nStart, int nEnd, BOOL bNoScroll) {
    SendMessage(EM_SETSEL, wp(nStart), nEnd);
    if (!bNoScroll) SendMessage(EM_SCROLLCARET);
}
void CEdit::GetSel(int& nStart, int& nEnd) const {
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    nStart = static_cast<int>(s);
    nEnd = static_cast<int>(e);
}
void CEdit::ReplaceSel(const wchar_t* text, BOOL bCanUndo) { SendMessage(EM_REPLACESEL, wp(bCanUndo), lp(text ? text : L"")); }
BOOL CEdit::SetReadOnly(BOOL bReadOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, wp(bReadOnly))); }

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* pParent, UINT nID) {
    return CWnd::Create(L"COMBOBOX", nullptr, style, rect, pParent, nID);
}
int CComboBox::AddString(const wchar_t* text) { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, lp(text ? text : L""))); }
int CComboBox::InsertString(int index, const wchar_t* text) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, wp(index), lp(text ? text : L"")));
}
int CComboBox::DeleteString(UINT index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, wp(index))); }
int CComboBox::GetLBTextLen(int index) const { return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, wp(index))); }
int CComboBox::GetLBText(int index, wchar_t* buffer) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXT, wp(index), reinterpret_cast<LPARAM>(buffer)));
}
void CComboBox::GetLBText(int index, CString& text) const {
    int n = GetLBTextLen(index);
    if (n <= 0) { text.Empty(); return; }
    int got = GetLBText(index, text.GetBufferSetLength(n));
    text.ReleaseBuffer(got < 0 ? 0 : got);
}
int CComboBox::FindStringExact(int startAfter, const wchar_t* text) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, wp(startAfter), lp(text ? text : L"")));
}
int CComboBox::SelectString(int startAfter, const wchar_t* text) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, wp(startAfter), lp(text ? text : L"")));
}
DWORD_PTR CComboBox::GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, wp(index))); }
int CComboBox::SetItemData(int index, DWORD_PTR data) {
    return static_cast<int>(SendMessage(CB_SETITEMDATA, wp(index), static_cast<LPARAM>(data)));
}
BOOL CComboBox::LimitText(int nMaxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, wp(nMaxChars))); }
BOOL CComboBox::SetEditSel(int nStart, int nEnd) {
    return static_cast<BOOL>(SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStart, nEnd)));
}
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
void CComboBox::ShowDropDown(BOOL bShow) { SendMessage(CB_SHOWDROPDOWN, wp(bShow)); }
void CComboBox::DrawItem(LPDRAWITEMSTRUCT) {}
BOOL CComboBox::OnChildNotify(UINT msg, WPARAM w, LPARAM l, LRESULT* pResult) {
    if (msg != WM_DRAWITEM) return CWnd::OnChildNotify(msg, w, l, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(l));
    if (pResult) *pResult = TRUE;
    return TRUE;
}
