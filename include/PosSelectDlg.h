// CPosSelectDlg: the modal dialog (template 15007) in which the user picks one position from
// the caller's list, optionally followed by the special entry (string 2014). Opening it always
// selects the first row; after IDOK m_nPos is the chosen row, -1 when the list was empty.
#pragma once
#include <afxwin.h>
#include <CxControls.h>
#include <CxStringList.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"

class CORELINK_API CPosSelectDlg : public CDialog {
public:
    explicit CPosSelectDlg(CWnd* parent = nullptr);
    ~CPosSelectDlg() override;

    CxStringList m_lstPositions;   // the positions offered, in order
    BOOL m_bAddSpecial;            // append the special entry after them
    int m_nPos;                    // the chosen row (control 15000)
    CxComboBox m_cbPos;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
};

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(CPosSelectDlg, 56);
CORELINK_CHECK_OFFSET(CPosSelectDlg, m_lstPositions, 32);
CORELINK_CHECK_OFFSET(CPosSelectDlg, m_bAddSpecial, 36);
CORELINK_CHECK_OFFSET(CPosSelectDlg, m_nPos, 40);
CORELINK_CHECK_OFFSET(CPosSelectDlg, m_cbPos, 44);
