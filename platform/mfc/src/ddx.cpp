// Dialog data exchange: controls to members (saving) and members to controls (loading).
#include "afx_impl.h"
#include <wchar.h>
#include <errno.h>
#include <limits.h>

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_bFailed(FALSE), m_hWndLastControl(nullptr) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND h = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    m_hWndLastControl = h;
    return h;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    if (!m_hWndLastControl || !m_bSaveAndValidate) return;
    ::SendMessageW(m_pDlgWnd->m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_hWndLastControl), 1);
    wchar_t cls[16] = {};
    ::GetClassNameW(m_hWndLastControl, cls, 16);
    if (_wcsicmp(cls, L"Edit") == 0) ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX->m_bFailed || rControl.m_hWnd) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h || !rControl.SubclassWindow(h)) pDX->m_bFailed = TRUE;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) CWnd::FromHandle(h)->GetWindowText(value);
    else ::SetWindowTextW(h, value);
}

namespace {

// The control's text as a whole number; false when it is not one or out of range.
bool read_long(HWND h, bool isSigned, long long& out) {
    CString text;
    CWnd::FromHandle(h)->GetWindowText(text);
    text.Trim();
    if (text.IsEmpty()) return false;
    wchar_t* end = nullptr;
    errno = 0;
    out = wcstoll(text, &end, 10);
    if (errno || *end) return false;
    return isSigned ? (out >= INT_MIN && out <= INT_MAX) : (out >= 0 && out <= UINT_MAX);
}

void exchange_number(CDataExchange* pDX, int nIDC, long long value, bool isSigned, long long* out) {
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (!pDX->m_bSaveAndValidate) {
        wchar_t buf[32];
        swprintf(buf, 32, L"%lld", value);
        ::SetWindowTextW(h, buf);
        return;
    }
    long long v = 0;
    if (!read_long(h, isSigned, v)) {
        AfxMessageBox(isSigned ? L"Please enter an integer." : L"Please enter a positive integer.",
                      MB_OK | MB_ICONEXCLAMATION);
        pDX->Fail();
        return;
    }
    *out = v;
}

} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    long long v = value;
    exchange_number(pDX, nIDC, value, true, &v);
    value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
    long long v = value;
    exchange_number(pDX, nIDC, value, false, &v);
    value = static_cast<UINT>(v);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) index = static_cast<int>(::SendMessageW(h, CB_GETCURSEL, 0, 0));
    else ::SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX->m_bFailed) return;
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h) return;
    if (pDX->m_bSaveAndValidate) value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    else ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
