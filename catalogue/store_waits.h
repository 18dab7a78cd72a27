// How long the catalogue waits for a lock that another program holds.
#pragma once

struct sqlite3;

// A read waits this long for another program's commit in progress, and a commit for other
// programs' reads in progress; a write does not wait (another program's open transaction
// can last minutes). Long enough for commits of a few thousand items and for a whole listing
// of 20,000 (docs/performance.md), short enough that a thread that shows windows does not
// freeze for seconds.
const int kLockWaitMs = 1000;

// From now on, a statement of db that meets a lock retries every millisecond for up to ms
// milliseconds (0: fails at once). Short retries take the lock between two commits of a
// program that commits again and again, where SQLite's own growing pauses (up to 100 ms)
// could miss every gap.
void WaitForLocks(sqlite3* db, int ms);
