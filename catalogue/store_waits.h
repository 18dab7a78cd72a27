// How long the catalogue waits for a lock that another program holds.
#pragma once

// A read waits this long for another program's commit in progress, and a commit for other
// programs' reads in progress; a write does not wait (another program's open transaction
// can last minutes). Long enough for a commit of a few thousand items or a whole listing of
// 20,000, short enough that a thread that shows windows does not freeze.
const int kLockWaitMs = 1000;
