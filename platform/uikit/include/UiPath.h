// Path helpers of the controls library.
#pragma once
#include <afxstr.h>
#include "uikit_api.h"

// The part of path after its last backslash or slash (the whole path when it has none).
UIKIT_API CString GetFileName(CString path);
