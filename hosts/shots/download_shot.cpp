// The download dialog's picture: a redirect names the product, then a body of 4 MB comes in
// slowly enough for the picture to catch the bar part-way.
#include "download_shot.h"
#include <commctrl.h>
#include <memory>
#include <string>
#include <Corelink.h>
#include <local_http_server.h>

namespace {
const wchar_t kProduct[] = L"Quillbox Theme Pack 2.4.zip";
}

void DownloadDialogMidWay() {
    LocalHttpServer server;
    server.RouteProduct("/download/theme", "/files/theme-pack.zip", "Quillbox Theme Pack 2.4.zip", 4 << 20, 4096, 15, 'q');

    CWebFileDownloadDlg dialog;
    dialog.m_strURL = CString(("http://" + server.Base() + "/download/theme").c_str());
    dialog.DoModal();
    if (!dialog.m_strSavedFile.IsEmpty()) DeleteFileW(dialog.m_strSavedFile);
}

bool DownloadDialogReady(HWND dialog) {
    wchar_t text[128] = {};
    GetDlgItemTextW(dialog, 7215, text, 128);
    DWORD_PTR pos = 0;
    SendMessageTimeoutW(GetDlgItem(dialog, 7216), PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &pos);
    return wcsstr(text, kProduct) && pos >= 35;
}

HWND DownloadDialogBar(HWND dialog) { return GetDlgItem(dialog, 7216); }
