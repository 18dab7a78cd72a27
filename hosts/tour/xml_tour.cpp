// Tour step: a response document read from a file, searched and written back out.
#include "tour.h"

bool XmlTour(const std::wstring& bin) {
    return TourHostReport(bin, L"viewproc.exe", "xml-sample " + TourTempPath(L"corelink-tour-response.xml"),
                          "viewproc.exe read a response with CXMLDoc::LoadFile:");
}
