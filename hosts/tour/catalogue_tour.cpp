// Tour step: a small catalogue stored, listed and searched by the user interface process.
#include "tour.h"

bool CatalogueTour(const std::wstring& bin) {
    return TourHostReport(bin, L"viewproc.exe", "catalogue-sample " + TourTempPath(L"corelink-tour.db"),
                          "viewproc.exe built a catalogue through GetAppDB():");
}
