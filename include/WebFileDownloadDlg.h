// CWebFileDownloadDlg: a modal dialog (template 7011 of the current language resources) that
// downloads one file with a connector of its own, shows the product's name and a progress
// bar, follows the server's redirect and product headers, and saves the file under the
// product's name in the temporary folder.
//
// Callers set m_strURL and run DoModal. IDOK: the download finished, and m_strSavedFile holds
// the saved file's path (empty when the copy to that name failed). IDCANCEL: cancelled or
// failed (string 2010 has been shown for failures, 2219 when the connector refused to start).
//
// The product name comes from the server; it is made a plain file name in the temporary
// folder before use (no folder separators, drive letters, control characters, dot names or
// device names), cut to fit the longest path. At most 10 redirects are followed. A cancel
// ends the dialog quietly with IDCANCEL whatever else ended the request; each run starts
// from empty state.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <cstddef>
#include "CorelinkApi.h"
#include "NetConnector.h"

class CORELINK_API CWebFileDownloadDlg : public CDialog {
public:
    enum { IDD = 7011, IDC_MSG = 7215, IDC_PROGRESS = 7216, IDC_ABORT = 7217 };
    enum { WM_NET_RESULT = 3024, TIMER_DOWNLOAD_DONE = 1001, kMaxRedirects = 10 };

    explicit CWebFileDownloadDlg(CWnd* pParent = nullptr);
    ~CWebFileDownloadDlg() override;

    void SetCancelButton();
    // Starts one download of url (host after "//", path from the next "/"), port 80.
    void NetGetFile(const wchar_t* url);
    // The connector's progress callback: moves the bar of g_pWebFileDownloadDlg.
    static void NetDownloadProgress(unsigned int total, unsigned int received);

    CButton m_btnAbort;
    CProgressCtrl m_progress;
    CEdit m_editMsg;
    CString m_strMsg;
    CString m_strURL;
    CString m_strSavedFile;
    CString m_strProductName;
    CString m_strLocation;
    CString m_strProductUrl;
    bool m_bCancelButton;
    CNetConnector m_netConnector;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    LRESULT OnNetResult(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR nIDEvent);
    void OnAbort();
    void OnSetfocusMsg();

private:
    void finish(int result);
    void fail();
    void show_message(const CString& text);
    void on_download(CCommandNetBlk& block);
};

// The dialog that receives progress values: set by OnInitDialog, cleared when it ends.
extern CORELINK_API CWebFileDownloadDlg* g_pWebFileDownloadDlg;

// The layout hosts compile against (see CorelinkLayout.h).
#include "CorelinkLayout.h"
CORELINK_CHECK_SIZE(CWebFileDownloadDlg, 148);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_btnAbort, 32);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_progress, 44);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_editMsg, 56);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strMsg, 68);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strURL, 72);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strSavedFile, 76);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strProductName, 80);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strLocation, 84);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_strProductUrl, 88);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_bCancelButton, 92);
CORELINK_CHECK_OFFSET(CWebFileDownloadDlg, m_netConnector, 96);
