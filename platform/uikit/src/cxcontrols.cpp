// CxComboBox and CxEdit: text helpers over the standard controls.
#include "CxControls.h"

namespace {

void limit_and_cut(CString& text, int nMaxChars) {
    if (nMaxChars > 0 && text.GetLength() > nMaxChars) text = text.Left(nMaxChars);
}

} // namespace

CxComboBox::CxComboBox() = default;
CxComboBox::~CxComboBox() = default;

int CxComboBox::FillStringList(const CxStringList& list, int bAppend) {
    if (!m_hWnd) return 0;
    if (!bAppend) ResetContent();
    int added = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        CxString item = list.GetNext(pos);
        if (AddString(item) >= 0) ++added;
    }
    return added;
}

int CxComboBox::FillStringList(const CStringList& list, int bAppend) {
    if (!m_hWnd) return 0;
    if (!bAppend) ResetContent();
    int added = 0;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (AddString(list.GetNext(pos)) >= 0) ++added;
    return added;
}

void CxComboBox::SetEditBox(const wchar_t* text, int nMaxChars) {
    if (!m_hWnd) return;
    CString s(text);
    if (nMaxChars > 0) LimitText(nMaxChars);
    limit_and_cut(s, nMaxChars);
    if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
        // The row whose text is exactly this (the control's own search ignores case).
        int found = -1;
        CString row;
        for (int i = 0, n = GetCount(); i < n && found < 0; ++i) {
            GetLBText(i, row);
            if (row == s) found = i;
        }
        SetCurSel(found);
        return;
    }
    SetWindowText(s);
    SetEditSel(s.GetLength(), s.GetLength());
}

CString CxComboBox::GetEditBox() const {
    CString s;
    if (!m_hWnd) return s;
    if ((GetStyle() & 0x3) == CBS_DROPDOWNLIST) {
        int sel = GetCurSel();
        if (sel >= 0) GetLBText(sel, s);
    } else {
        GetWindowText(s);
    }
    return s;
}

CxEdit::CxEdit() = default;
CxEdit::~CxEdit() = default;

CString CxEdit::GetEditBox() const {
    CString s;
    if (m_hWnd) GetWindowText(s);
    return s;
}

void CxEdit::SetEditBox(const wchar_t* text, int nMaxChars) {
    if (!m_hWnd) return;
    CString s(text);
    if (nMaxChars > 0) LimitText(nMaxChars);
    limit_and_cut(s, nMaxChars);
    SetWindowText(s);
    SetSel(s.GetLength(), s.GetLength());
}
