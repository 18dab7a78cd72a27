// CPosSelectDlg: the position dialog.
#include "PosSelectDlg.h"
#include <stddef.h>

namespace {
const UINT kTemplate = 15007;
const int kPositionList = 15000;
const UINT kSpecialEntry = 2014;
} // namespace

BEGIN_MESSAGE_MAP(CPosSelectDlg, CDialog)
END_MESSAGE_MAP()

CPosSelectDlg::CPosSelectDlg(CWnd* parent) : CDialog(kTemplate, parent), m_bAddSpecial(TRUE), m_nPos(0) {
    // Hosts compile against this layout: the fields keep their order.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
    static_assert(offsetof(CPosSelectDlg, m_lstPositions) == sizeof(CDialog) &&
                      offsetof(CPosSelectDlg, m_bAddSpecial) == offsetof(CPosSelectDlg, m_lstPositions) + sizeof(CxStringList) &&
                      offsetof(CPosSelectDlg, m_nPos) == offsetof(CPosSelectDlg, m_bAddSpecial) + 4 &&
                      offsetof(CPosSelectDlg, m_cbPos) == offsetof(CPosSelectDlg, m_nPos) + 4,
                  "CPosSelectDlg's fields keep their order");
#pragma GCC diagnostic pop
}

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
