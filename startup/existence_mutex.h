// The existence mutex: one per installation folder, owned for its whole life by the
// first process of the installation that loads the library.
#pragma once
#include <afxstr.h>

// "vX_<folder>_eXiSTmUtEx", the folder's backslashes replaced by underscores.
CString ExistenceMutexName(const wchar_t* exeFolder);

// Creates or opens this installation's mutex. The first process takes ownership, stamps
// the communication block and empties the pending web-install command line.
void ClaimExistenceMutex();
