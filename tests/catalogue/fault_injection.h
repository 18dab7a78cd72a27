// Faults for the store's white-box tests, inside this program's SQLite: a VFS over the
// platform's that fails its Nth call, and an allocator that fails its Nth allocation.
#pragma once

// Which calls fail. Calls are counted only while armed; call n (from 1) fails, and with
// `persist` every later one too, until disarmed.
struct FaultPlan {
    int failAt = 0;          // 0: none
    bool persist = false;
    bool armed = false;
    int calls = 0;           // counted while armed
    int failures = 0;

    void Arm(int n, bool keep) { failAt = n; persist = keep; armed = true; calls = failures = 0; }
    void Disarm() { armed = false; }
    // Counts a call; true when it is to fail.
    bool Hit() {
        if (!armed) return false;
        ++calls;
        const bool fail = failAt > 0 && (calls == failAt || (persist && calls > failAt));
        failures += fail;
        return fail;
    }
};

// The VFS "faulty" over the platform's, made the default: its open, read, write, truncate,
// sync, file-size, lock, check-reserved-lock, delete and access calls count against the plan
// and fail with SQLITE_IOERR_* (writes alternately with SQLITE_FULL).
FaultPlan& IoFaults();
void InstallFaultyVfs();
void RemoveFaultyVfs();

// SQLite's allocator wrapped (sqlite3_shutdown, configure, initialize: call with no
// connection open); malloc and realloc count against the plan and fail with null.
FaultPlan& MemoryFaults();
void InstallFailingAllocator();
void RemoveFailingAllocator();
