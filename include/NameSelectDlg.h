// CNameSelectDlg: the modal dialog (template 15021) in which the user types or picks a name.
// The caller fills the public fields, runs DoModal and, after IDOK, reads m_strName and
// m_nSelIndex. The dialog checks the name (and with m_bTitleName the title's name as well)
// against the handset's length limits (offering to cut a name that is too long), refuses
// names with characters that file names cannot hold and names that start with a dot. Its
// texts come from the resource source by number.
//
// Modes (m_nMode):
//   1  a name typed into the edit box
//   2  a name typed or picked in the drop-down box (names flagged "W")
//   3  a name picked from the drop-down list (names flagged "W")
//   4  a row picked from every name (and the special entry, string 2014); no name is read
//   5  a name typed into the edit box and a place picked beside it; row 0 of the places is
//      string 2021 (the current place), the others are the names flagged "W" after the
//      current one. m_nSelIndex is the picked place's position among the names after the
//      current one: -1 for the current place, 0 for the first name after it (-2 when no row
//      is picked). The lists stay as given.
// Any other mode shows no input control; OK then stays open and Cancel closes.
#pragma once
#include <afxwin.h>
#include <CxControls.h>
#include <CxStringList.h>
#include "CorelinkApi.h"

class CORELINK_API CNameSelectDlg : public CDialog {
public:
    explicit CNameSelectDlg(CWnd* parent = nullptr);
    ~CNameSelectDlg() override;

    int m_nMode;
    CxStringList m_lstNames;      // candidate names, in order
    CxStringList m_lstFlags;      // one flag text per name; "W": offered outside mode 4
    CString m_strName;            // result: the chosen name, trimmed
    CWnd* m_pActiveCtrl;          // the input control of the mode
    int m_nSelIndex;              // result index (see the modes)
    int m_nMaxLen;                // limit for names whose characters are all <= U+00FF
    int m_nMaxWideLen;            // limit for other names; 0: such names are refused
    BOOL m_bFirstIsCurrent;       // the first name is the current one
    BOOL m_bTitleName;            // the title carries m_strTitleName
    CString m_strTitleName;
    BOOL m_bAddSpecial;           // mode 4 offers the special entry too
    CFont m_fontText;             // font of the input controls
    CxComboBox m_cbList1;         // control 15016
    CxComboBox m_cbList2;         // control 15017
    CxEdit m_edName;              // control 15018
    CString m_strSpecial;         // string 2014, loaded in mode 4

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    bool m_bSpecialAdded = false;   // the special entry is already in m_lstNames
};

// The layout hosts compile against (see CorelinkLayout.h).
#include "CorelinkLayout.h"
CORELINK_CHECK_SIZE(CNameSelectDlg, 132);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_nMode, 32);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_lstNames, 36);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_lstFlags, 40);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_strName, 44);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_pActiveCtrl, 48);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_nSelIndex, 52);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_nMaxLen, 56);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_nMaxWideLen, 60);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_bFirstIsCurrent, 64);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_bTitleName, 68);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_strTitleName, 72);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_bAddSpecial, 76);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_fontText, 80);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_cbList1, 88);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_cbList2, 100);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_edName, 112);
CORELINK_CHECK_OFFSET(CNameSelectDlg, m_strSpecial, 124);
