// Tour step: a file downloaded from a local HTTP server through a connector.
#include <local_http_server.h>
#include "tour.h"

bool NetTour(const std::wstring& bin) {
    LocalHttpServer server;   // on 127.0.0.1, in this process
    TourPrint("A local HTTP server serves a 3,000,000-byte file at http://%s/size/3000000.\n", server.Base().c_str());
    return TourHostReport(bin, L"viewproc.exe",
                          "net-download " + server.Base() + "|/size/3000000|" +
                              TourTempPath(L"corelink-tour-download.bin"),
                          "viewproc.exe downloaded it through CNetConnector (worker thread, result as a window message):");
}
