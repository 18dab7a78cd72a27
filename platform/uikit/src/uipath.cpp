// Path helpers of the controls library.
#include "UiPath.h"

CString GetFileName(CString path) {
    int a = path.ReverseFind(L'\\'), b = path.ReverseFind(L'/');
    return path.Mid((a > b ? a : b) + 1);
}
