// CWebFileDownloadDlg: one download with progress, redirects and product headers, saved
// under the product's name in the temporary folder.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>
#include <wide_text.h>
#include <BaseKit.h>
#include <FilePath.h>
#include <unique_res.h>
#include "TextConvert.h"
#include "WebFileDownloadDlg.h"
#include "download_names.h"

CWebFileDownloadDlg* g_pWebFileDownloadDlg = nullptr;

namespace {

// Guards g_pWebFileDownloadDlg against the worker's progress calls: the worker takes the
// bar's window under it, the dialog clears the pointer under it before it goes.
SRWLOCK g_dialogLock = SRWLOCK_INIT;

void set_current_dialog(CWebFileDownloadDlg* dialog, const CWebFileDownloadDlg* onlyIf) {
    AcquireSRWLockExclusive(&g_dialogLock);
    if (!onlyIf || g_pWebFileDownloadDlg == onlyIf) g_pWebFileDownloadDlg = dialog;
    ReleaseSRWLockExclusive(&g_dialogLock);
}

// Redirects answered so far, kept with the dialog's window.
const wchar_t kRedirectsProp[] = L"Corelink.Redirects";

// An information file is a few header-like lines; more than this is not read.
const long kMaxInfoBytes = 1 << 20;

CString to_cstring(const std::wstring& s) { return CString(s.c_str(), static_cast<int>(s.size())); }
std::wstring to_wstring(const CString& s) { return std::wstring(s.GetString(), s.GetLength()); }

// The UTF-8 text of a response file, or false when it cannot be read.
bool read_utf8_file(const wchar_t* path, std::wstring& text) {
    win32::unique_stream file(_wfopen(path, L"rb"));
    if (!file) return false;
    fseek(file.get(), 0, SEEK_END);
    long size = ftell(file.get());
    fseek(file.get(), 0, SEEK_SET);
    if (size < 0) return false;
    if (size > kMaxInfoBytes) size = kMaxInfoBytes;
    std::vector<char> bytes(static_cast<size_t>(size) + 1, '\0');
    bytes.resize(fread(bytes.data(), 1, static_cast<size_t>(size), file.get()) + 1);
    bytes.back() = '\0';
    std::vector<unsigned short> wide(static_cast<size_t>(size) + 1);
    MBSToWCS(bytes.data(), wide.data(), size + 1, true);
    text = reinterpret_cast<const wchar_t*>(wide.data());
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CWebFileDownloadDlg, CDialog)
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_ABORT, OnAbort)
    ON_EN_SETFOCUS(IDC_MSG, OnSetfocusMsg)
    ON_MESSAGE(WM_NET_RESULT, OnNetResult)
END_MESSAGE_MAP()

CWebFileDownloadDlg::CWebFileDownloadDlg(CWnd* pParent) : CDialog(IDD, pParent), m_bCancelButton(true) {}

CWebFileDownloadDlg::~CWebFileDownloadDlg() { set_current_dialog(nullptr, this); }

void CWebFileDownloadDlg::SetCancelButton() { m_bCancelButton = true; }

void CWebFileDownloadDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ABORT, m_btnAbort);
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
    DDX_Control(pDX, IDC_MSG, m_editMsg);
    DDX_Text(pDX, IDC_MSG, m_strMsg);
}

BOOL CWebFileDownloadDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    set_current_dialog(this, nullptr);
    // Nothing of an earlier run of this object names, follows or reports this one.
    m_strSavedFile.Empty();
    m_strProductName.Empty();
    m_strLocation.Empty();
    m_strProductUrl.Empty();
    if (m_strURL.IsEmpty()) {   // nothing to download: nothing would ever close the dialog
        finish(IDCANCEL);
        return FALSE;
    }
    if (!m_bCancelButton) {
        CRect bar, button;
        m_progress.GetWindowRect(&bar);
        m_btnAbort.GetWindowRect(&button);
        ScreenToClient(&bar);
        ScreenToClient(&button);
        m_btnAbort.ShowWindow(SW_HIDE);
        bar.right = button.right;
        m_progress.MoveWindow(&bar);
    }
    if (!m_netConnector.Initial()) {
        if (m_netConnector.m_bIE9OrLater) AfxMessageBox(2219, MB_OK, 0);
        finish(IDCANCEL);
        return FALSE;
    }
    CString text;
    text.LoadString(2216);
    show_message(text);
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    m_netConnector.SetDownloadProgressCallBack(NetDownloadProgress);
    NetGetFile(m_strURL);
    return TRUE;
}

void CWebFileDownloadDlg::NetGetFile(const wchar_t* url) {
    // An address that does not fit the conversion is not requested cut short.
    char address[512];
    if (!url || !WCSToMBS(reinterpret_cast<const unsigned short*>(url), address, sizeof(address), false)) {
        fail();
        return;
    }
    const download::HostPath hp = download::SplitAddress(address);
    m_netConnector.HTTP_GET(NET_MSG_GET, m_hWnd, WM_NET_RESULT, hp.hasHost ? hp.host.c_str() : nullptr,
                            hp.path.c_str(), nullptr, nullptr, 80, nullptr);
}

void CWebFileDownloadDlg::NetDownloadProgress(unsigned int total, unsigned int received) {
    if (!total) return;
    AcquireSRWLockExclusive(&g_dialogLock);
    HWND bar = g_pWebFileDownloadDlg ? g_pWebFileDownloadDlg->m_progress.m_hWnd : nullptr;
    ReleaseSRWLockExclusive(&g_dialogLock);
    // Sent outside the lock: the dialog's thread may be waiting for it.
    if (bar) ::SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(static_cast<double>(received) / total * 100), 0);
}

LRESULT CWebFileDownloadDlg::OnNetResult(WPARAM, LPARAM lParam) {
    auto* block = reinterpret_cast<CCommandNetBlk*>(lParam);
    if (!block) return 0;
    ReleaseCPUTime(1000, nullptr, nullptr);
    // A result that comes after the dialog has ended only leaves its file behind to delete.
    if (m_nModalResult == -1) {
        if (block->nMsg == NET_MSG_GET) on_download(*block);
        else if (block->nMsg != 3) fail();
    }
    // The response file has been read or copied: it never stays in the temporary folder.
    if (block->szResFile[0]) DeleteFileW(wide(block->szResFile));
    return 0;
}

void CWebFileDownloadDlg::on_download(CCommandNetBlk& block) {
    // A cancel wins over whatever else ended the request (a stalled server's time-out, a
    // dropped connection, a redirect still to follow): the dialog then closes quietly. Only a
    // product file that arrived whole is still saved.
    const bool userCancelled = m_bCancelButton && m_netConnector.UserCancel();
    const bool productArrived = block.eResult == NET_RESULT_OK && m_strProductUrl.IsEmpty();
    if (userCancelled && !productArrived) {
        finish(IDCANCEL);
        return;
    }
    switch (block.eResult) {
    case NET_RESULT_OK:
        if (!m_strProductUrl.IsEmpty()) {
            // The product information file: its "Product-name:" line names the product.
            std::wstring text;
            if (read_utf8_file(wide(block.szResFile), text)) {
                bool found = false;
                const std::wstring name = download::ProductNameFromInfo(download::SplitLines(text), &found);
                if (found) m_strProductName = to_cstring(name);
            }
            show_message(m_strProductName);
            m_strProductUrl.Empty();
            NetGetFile(m_strLocation);
        } else {
            const CxString folder = GetFilePath(wide(block.szResFile), 1);
            // The name gets what the folder leaves of the longest path.
            const wchar_t* folderText = folder;
            size_t used = wcslen(folderText);
            if (!used || (folderText[used - 1] != L'\\' && folderText[used - 1] != L'/')) ++used;   // the separator
            const size_t room = used < MAX_PATH - 1 ? MAX_PATH - 1 - used : 0;
            m_strProductName = to_cstring(download::SaveName(to_wstring(m_strProductName), to_wstring(m_strURL),
                                                             std::min(room, download::kMaxNameLength)));
            const CxString target = ToFullPathName(folder, m_strProductName);
            if (CopyFileW(wide(block.szResFile), target, FALSE)) m_strSavedFile = target;
            SetTimer(TIMER_DOWNLOAD_DONE, 50);
        }
        break;
    case NET_RESULT_CANCELLED:
        finish(IDCANCEL);
        break;
    case NET_RESULT_HTTP_FAILED:
        fail();
        break;
    case NET_RESULT_REDIRECT: {
        const INT_PTR redirects = reinterpret_cast<INT_PTR>(GetPropW(m_hWnd, kRedirectsProp)) + 1;
        SetPropW(m_hWnd, kRedirectsProp, reinterpret_cast<HANDLE>(redirects));
        if (redirects > kMaxRedirects) {
            fail();
            break;
        }
        unsigned short header[2048];
        MBSToWCS(block.szResHeader, header, 2048, false);
        // Each answer names its own targets; a product name found earlier is kept.
        const download::RedirectInfo info =
            download::ScanRedirect(download::HeaderLines(wide(header)), to_wstring(m_strProductName));
        m_strProductUrl = to_cstring(info.productUrl);
        m_strLocation = to_cstring(info.location);
        m_strProductName = to_cstring(info.productName);
        if (!m_strProductUrl.IsEmpty() && !m_strLocation.IsEmpty()) {
            NetGetFile(m_strProductUrl);   // the information file first, then the Location
        } else if (!m_strLocation.IsEmpty() && !m_strProductName.IsEmpty()) {
            show_message(m_strProductName);
            NetGetFile(m_strLocation);
        } else {
            finish(IDCANCEL);
        }
        break;
    }
    default:
        finish(IDCANCEL);
        break;
    }
}

void CWebFileDownloadDlg::OnTimer(UINT_PTR nIDEvent) {
    if (nIDEvent == TIMER_DOWNLOAD_DONE) {
        KillTimer(TIMER_DOWNLOAD_DONE);
        m_progress.SetPos(100);
        finish(IDOK);
    }
    CDialog::OnTimer(nIDEvent);
}

void CWebFileDownloadDlg::OnAbort() {
    if (m_bCancelButton) m_netConnector.CancelProcedure();
}

void CWebFileDownloadDlg::OnOK() {}

void CWebFileDownloadDlg::OnCancel() { OnAbort(); }

void CWebFileDownloadDlg::OnSetfocusMsg() {
    // The dialog manager may hand the focus straight back to the line it came from: then it
    // goes to the abort button, or to the bar when the button is hidden.
    static thread_local bool busy = false;
    if (busy) return;
    busy = true;
    ::SetFocus(m_hWnd);
    if (::GetFocus() == m_editMsg.m_hWnd)
        ::SetFocus(m_btnAbort.IsWindowVisible() ? m_btnAbort.m_hWnd : m_progress.m_hWnd);
    busy = false;
}

void CWebFileDownloadDlg::show_message(const CString& text) {
    m_strMsg = text;
    m_editMsg.SetWindowText(text);
}

void CWebFileDownloadDlg::fail() {
    AfxMessageBox(2010, MB_OK | MB_ICONSTOP);
    finish(IDCANCEL);
}

void CWebFileDownloadDlg::finish(int result) {
    // No progress value reaches a dialog that has ended.
    set_current_dialog(nullptr, this);
    if (m_hWnd) RemovePropW(m_hWnd, kRedirectsProp);
    EndDialog(result);
}
