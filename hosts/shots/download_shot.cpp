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
    HttpRoute slow;
    slow.body.assign(4096, 'q');
    slow.size = 4 << 20;
    slow.piece = 4096;
    slow.pauseMs = 15;
    server.Route("/files/theme-pack.zip", slow);
    HttpRoute redirect;
    redirect.status = "302 Found";
    redirect.headers = "Location: http://" + server.Base() + "/files/theme-pack.zip\r\nProduct-name: Quillbox Theme Pack 2.4.zip\r\n";
    server.Route("/download/theme", redirect);

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
