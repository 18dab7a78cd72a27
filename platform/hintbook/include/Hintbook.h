// Hintbook.dll: the suite's remind texts, looked up by action type, action time and number.
//
// Callers load the library by name and take the entry point "GetRemindMessage":
//     CString GetRemindMessage(ACTION_TYPE type, ACTION_TIME time, int index);
// It returns the remind text for the triple, or an empty text. The two enumerations are
// 32-bit values; this header names the arguments by their plain integer form.
#pragma once
#include <afxstr.h>

using HintbookRemindFn = CString (*)(int type, int time, int index);
