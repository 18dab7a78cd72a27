// CPosSelectDlg: the position dialog.
#include "PosSelectDlg.h"

namespace {
const UINT kTemplate = 15007;
const int kPositionList = 15000;
const UINT kSpecialEntry = 2014;
} // namespace

BEGIN_MESSAGE_MAP(CPosSelectDlg, CDialog)
END_MESSAGE_MAP()

CPosSelectDlg::CPosSelectDlg(CWnd* parent) : CDialog(kTemplate, parent), m_bAddSpecial(TRUE), m_nPos(0) {}

CPosSelectDlg::~CPosSelectDlg() = default;

void CPosSelectDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, kPositionList, m_cbPos);
    DDX_CBIndex(pDX, kPositionList, m_nPos);
}

BOOL CPosSelectDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_cbPos.FillStringList(m_lstPositions, 0);
    if (m_bAddSpecial) {
        CString special;
        special.LoadString(kSpecialEntry);
        m_cbPos.AddString(special);
    }
    m_cbPos.SetCurSel(0);
    return TRUE;
}
