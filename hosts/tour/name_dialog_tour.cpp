// Tour step: the name dialog of the library, driven without a person: a name too long for
// the handset is typed, the dialog offers to cut it, the answer is given and the result read.
#include <windows.h>
#include <string>
#include <host_driver.h>
#include "tour.h"

bool NameDialogTour(const std::wstring& bin) {
    return TourHostReport(bin, L"namedlghost.exe", "name-dialog 10 yes Holiday by the sea",
                          "namedlghost.exe runs CNameSelectDlg (mode 1, names of at most 10 characters):");
}
