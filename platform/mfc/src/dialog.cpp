// CDialog: modal and modeless dialogs from templates found through the resource chain.
#include "afx_impl.h"

namespace {

// Dialog procedure of CDialog windows. Every message reaches the object first through
// AfxWndProc; this procedure only answers the dialog manager's WM_INITDIALOG.
INT_PTR CALLBACK dialog_proc(HWND h, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    auto* dlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(h));
    return dlg ? dlg->OnInitDialog() : TRUE;
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() : m_lpszTemplateName(nullptr), m_nIDHelp(0), m_pParentWnd(nullptr), m_bModal(false), m_nModalResult(-1) {}
CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : CDialog() {
    m_lpszTemplateName = MAKEINTRESOURCEW(nIDTemplate);
    m_nIDHelp = nIDTemplate;
    m_pParentWnd = pParentWnd;
}
CDialog::CDialog(const wchar_t* templateName, CWnd* pParentWnd) : CDialog() {
    m_lpszTemplateName = templateName;
    m_pParentWnd = pParentWnd;
}
CDialog::~CDialog() = default;

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR CDialog::DoModal() {
    if (m_hWnd || !m_lpszTemplateName) return -1;
    afx::init_common_controls();
    HINSTANCE h = AfxFindResourceHandle(m_lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!h) return -1;
    HWND parent = m_pParentWnd ? m_pParentWnd->m_hWnd : ::GetActiveWindow();
    m_bModal = true;
    m_nModalResult = -1;
    afx::hook_window_create(this);
    INT_PTR r = DialogBoxParamW(h, m_lpszTemplateName, parent, &dialog_proc, 0);
    afx::unhook_window_create();
    m_bModal = false;
    return r;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(const wchar_t* templateName, CWnd* pParentWnd) {
    if (m_hWnd || !templateName) return FALSE;
    m_lpszTemplateName = templateName;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    afx::init_common_controls();
    HINSTANCE h = AfxFindResourceHandle(templateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!h) return FALSE;
    afx::hook_window_create(this);
    HWND w = CreateDialogParamW(h, templateName, m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, &dialog_proc, 0);
    afx::unhook_window_create();
    return w != nullptr && m_hWnd == w;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::GotoDlgCtrl(CWnd* pCtrl) {
    if (pCtrl) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pCtrl->m_hWnd), 1);
}
void CDialog::SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
