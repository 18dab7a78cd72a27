// Messages about the handset connection: a message followed by a connection hint that the
// user may ask not to see again, remind texts of the sibling message library Hintbook, and
// the notify popup (at most one per process).
#pragma once
#include <windows.h>
#include <afxstr.h>
#include "CorelinkApi.h"

// The modules of the suite that ask for hints. Each selects one entry of
// g_cap.adwModuleValue, in the order of the values; the entry is the module's hint number
// with the connected handset (-1: none). Any other value has no hint.
enum EPhMgrModule : int {
    PHMGR_MODULE_MAIN      = 0,
    PHMGR_MODULE_CONTACTS  = 1,
    PHMGR_MODULE_MESSAGES  = 2,
    PHMGR_MODULE_PHOTOS    = 4,
    PHMGR_MODULE_MELODIES  = 16,
    PHMGR_MODULE_VIDEOS    = 32,
    PHMGR_MODULE_FILES     = 256,
};

// Remind texts are looked up by action type, action time and number. The library itself uses
// only the connection hints; the other values belong to Hintbook.
enum ACTION_TYPE : int { ACTION_TYPE_HINT = 0 };
enum ACTION_TIME : int { ACTION_TIME_CONNECTION = 6 };

// Shows msg with AfxMessageBox(msg, type) (nothing when msg is null or empty), then the
// connection hint of module for the connected handset in a box captioned by string 2200,
// with the check box of string 2023 unless nCheck is negative (checked when nCheck > 0).
// Returns the first box's result (1 when it was not shown); after Retry or Ignore of a
// retry box no hint follows. Before the hint, the SHARP_902SH and SHARP_GX40 show an
// information box about their interface. *pbChecked receives 1 when the check box was
// checked at the end, else 0 (the state passed in when no hint box was shown); a null
// pbChecked receives nothing.
CORELINK_API int ShowMessageWithHint(const unsigned short* msg, UINT type, EPhMgrModule module, int nCheck,
                                     int* pbChecked);

// The remind text of Hintbook for the triple, or an empty text when Hintbook, its entry
// point "GetRemindMessage" or the text is missing. Hintbook is loaded and freed on each call.
CORELINK_API CString GetRemindMessage(ACTION_TYPE type, ACTION_TIME time, int index);

// The remind text in AfxMessageBox(text, mbType) and its result; -1, and no box, without text.
CORELINK_API int ShowRemindMessage(ACTION_TYPE type, ACTION_TIME time, int index, UINT mbType);

// Shows text in the suite's notify popup, closing (by a posted WM_CLOSE) the one this
// process showed before. dwArg2: milliseconds until it closes by itself (0: never);
// dwArg3: icon kind in the low four bits (SPLASH_ICON_*, 0 none); hParent: owner, or null;
// (nArg5, nArg6): the screen position of its top-left corner, (0, 0) the bottom right of the
// work area. The calling thread must handle window messages while the popup is open.
CORELINK_API void ShowNotifyMessage(const unsigned short* text, unsigned long dwArg2, unsigned long dwArg3,
                                    HWND hParent, int nArg5, int nArg6);

// The layout hosts compile against (see CorelinkLayout.h).
#include "CorelinkLayout.h"
CORELINK_CHECK_SIZE(EPhMgrModule, 4);
CORELINK_CHECK_SIZE(ACTION_TYPE, 4);
CORELINK_CHECK_SIZE(ACTION_TIME, 4);
