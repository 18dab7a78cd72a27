// Tour step: files downloaded from a local HTTP server through a connector, then through the
// download dialog, which follows the server's redirect and saves the product under its name.
#include <local_http_server.h>
#include "tour.h"

bool NetTour(const std::wstring& bin) {
    LocalHttpServer server;   // on 127.0.0.1, in this process
    TourPrint("A local HTTP server serves a 3,000,000-byte file at http://%s/size/3000000.\n", server.Base().c_str());
    const bool connector = TourHostReport(bin, L"viewproc.exe",
                                          "net-download " + server.Base() + "|/size/3000000|" +
                                              TourTempPath(L"corelink-tour-download.bin"),
                                          "viewproc.exe downloaded it through CNetConnector (worker thread, result as a window message):");

    // The dialog's address answers with a redirect that names the product; its body comes in
    // pieces so that the bar has something to show.
    server.RouteProduct("/get/skin", "/files/tallyport-skin.zip", "Tallyport Skin: Autumn?.zip", 1 << 20, 8192, 5, 'p');
    TourPrint("\nhttp://%s/get/skin redirects to a 1 MB product named \"Tallyport Skin: Autumn?.zip\".\n",
              server.Base().c_str());
    const bool dialog = TourHostReport(bin, L"viewproc.exe", "net-download-dialog http://" + server.Base() + "/get/skin",
                                       "viewproc.exe ran CWebFileDownloadDlg on it (progress bar, product name, closes itself):");
    return connector && dialog;
}
