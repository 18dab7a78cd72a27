// The faulty VFS and the failing allocator of the store's white-box tests.
#include "fault_injection.h"
#include <string.h>
#include <sqlite3.h>

namespace {

FaultPlan g_io, g_memory;
sqlite3_vfs* g_real = nullptr;
sqlite3_vfs g_faulty;
sqlite3_mem_methods g_realMemory, g_failingMemory;
bool g_allocatorInstalled = false;

// A file of the faulty VFS: the platform's file follows it in the same block.
struct FaultyFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real_of(sqlite3_file* f) { return reinterpret_cast<FaultyFile*>(f)->real; }

int f_close(sqlite3_file* f) {
    sqlite3_file* r = real_of(f);
    return r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
}
int f_read(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
    if (g_io.Hit()) return SQLITE_IOERR_READ;
    return real_of(f)->pMethods->xRead(real_of(f), buf, n, off);
}
int f_write(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
    if (g_io.Hit()) return g_io.failAt % 2 ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    return real_of(f)->pMethods->xWrite(real_of(f), buf, n, off);
}
int f_truncate(sqlite3_file* f, sqlite3_int64 size) {
    if (g_io.Hit()) return SQLITE_IOERR_TRUNCATE;
    return real_of(f)->pMethods->xTruncate(real_of(f), size);
}
int f_sync(sqlite3_file* f, int flags) {
    if (g_io.Hit()) return SQLITE_IOERR_FSYNC;
    return real_of(f)->pMethods->xSync(real_of(f), flags);
}
int f_size(sqlite3_file* f, sqlite3_int64* size) {
    if (g_io.Hit()) return SQLITE_IOERR_FSTAT;
    return real_of(f)->pMethods->xFileSize(real_of(f), size);
}
int f_lock(sqlite3_file* f, int lock) {
    if (g_io.Hit()) return SQLITE_IOERR_LOCK;
    return real_of(f)->pMethods->xLock(real_of(f), lock);
}
int f_unlock(sqlite3_file* f, int lock) { return real_of(f)->pMethods->xUnlock(real_of(f), lock); }
int f_reserved(sqlite3_file* f, int* out) {
    if (g_io.Hit()) return SQLITE_IOERR_CHECKRESERVEDLOCK;
    return real_of(f)->pMethods->xCheckReservedLock(real_of(f), out);
}
int f_control(sqlite3_file* f, int op, void* arg) { return real_of(f)->pMethods->xFileControl(real_of(f), op, arg); }
int f_sector(sqlite3_file* f) { return real_of(f)->pMethods->xSectorSize(real_of(f)); }
int f_device(sqlite3_file* f) { return real_of(f)->pMethods->xDeviceCharacteristics(real_of(f)); }

// Version 1: no shared memory, no memory-mapped pages (the store uses neither).
const sqlite3_io_methods kFaultyMethods = {1, f_close, f_read, f_write, f_truncate, f_sync, f_size,
                                           f_lock, f_unlock, f_reserved, f_control, f_sector, f_device,
                                           nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

int v_open(sqlite3_vfs*, const char* name, sqlite3_file* f, int flags, int* outFlags) {
    FaultyFile* ff = reinterpret_cast<FaultyFile*>(f);
    ff->base.pMethods = nullptr;
    ff->real = reinterpret_cast<sqlite3_file*>(ff + 1);
    if (g_io.Hit()) return SQLITE_IOERR;
    const int rc = g_real->xOpen(g_real, name, ff->real, flags, outFlags);
    if (rc == SQLITE_OK) ff->base.pMethods = &kFaultyMethods;
    return rc;
}
int v_delete(sqlite3_vfs*, const char* name, int sync) {
    if (g_io.Hit()) return SQLITE_IOERR_DELETE;
    return g_real->xDelete(g_real, name, sync);
}
int v_access(sqlite3_vfs*, const char* name, int flags, int* out) {
    if (g_io.Hit()) return SQLITE_IOERR_ACCESS;
    return g_real->xAccess(g_real, name, flags, out);
}
int v_full(sqlite3_vfs*, const char* name, int n, char* out) { return g_real->xFullPathname(g_real, name, n, out); }
void* v_dlopen(sqlite3_vfs*, const char* name) { return g_real->xDlOpen(g_real, name); }
void v_dlerror(sqlite3_vfs*, int n, char* out) { g_real->xDlError(g_real, n, out); }
void (*v_dlsym(sqlite3_vfs*, void* h, const char* sym))(void) { return g_real->xDlSym(g_real, h, sym); }
void v_dlclose(sqlite3_vfs*, void* h) { g_real->xDlClose(g_real, h); }
int v_random(sqlite3_vfs*, int n, char* out) { return g_real->xRandomness(g_real, n, out); }
int v_sleep(sqlite3_vfs*, int us) { return g_real->xSleep(g_real, us); }
int v_time(sqlite3_vfs*, double* out) { return g_real->xCurrentTime(g_real, out); }
int v_error(sqlite3_vfs*, int n, char* out) { return g_real->xGetLastError(g_real, n, out); }
int v_time64(sqlite3_vfs*, sqlite3_int64* out) { return g_real->xCurrentTimeInt64(g_real, out); }

void* m_malloc(int n) { return g_memory.Hit() ? nullptr : g_realMemory.xMalloc(n); }
void* m_realloc(void* p, int n) { return g_memory.Hit() ? nullptr : g_realMemory.xRealloc(p, n); }

} // namespace

FaultPlan& IoFaults() { return g_io; }
FaultPlan& MemoryFaults() { return g_memory; }

void InstallFaultyVfs() {
    if (g_real) return;
    g_real = sqlite3_vfs_find(nullptr);
    g_faulty = sqlite3_vfs{2, static_cast<int>(sizeof(FaultyFile)) + g_real->szOsFile, g_real->mxPathname, nullptr,
                           "faulty", nullptr, v_open, v_delete, v_access, v_full, v_dlopen, v_dlerror, v_dlsym,
                           v_dlclose, v_random, v_sleep, v_time, v_error, v_time64, nullptr, nullptr, nullptr};
    sqlite3_vfs_register(&g_faulty, 1);
}

void RemoveFaultyVfs() {
    if (!g_real) return;
    sqlite3_vfs_unregister(&g_faulty);
    sqlite3_vfs_register(g_real, 1);
    g_real = nullptr;
}

void InstallFailingAllocator() {
    if (g_allocatorInstalled) return;
    sqlite3_shutdown();
    sqlite3_config(SQLITE_CONFIG_GETMALLOC, &g_realMemory);
    g_failingMemory = g_realMemory;
    g_failingMemory.xMalloc = m_malloc;
    g_failingMemory.xRealloc = m_realloc;
    sqlite3_config(SQLITE_CONFIG_MALLOC, &g_failingMemory);
    sqlite3_initialize();
    g_allocatorInstalled = true;
}

void RemoveFailingAllocator() {
    if (!g_allocatorInstalled) return;
    sqlite3_shutdown();
    sqlite3_config(SQLITE_CONFIG_MALLOC, &g_realMemory);
    sqlite3_initialize();
    g_allocatorInstalled = false;
}
