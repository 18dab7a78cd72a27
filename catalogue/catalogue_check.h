// Why a catalogue file cannot be used: damage told apart from locks, unreachable media and a
// lack of memory. The results are AppDB's FILE_ values.
#pragma once

class AppDB;
class SimpleDB;

// The state of the file at the UTF-8 path, read on a connection of its own: opening it and
// reading its schema, then (full) every page with SQLite's quick_check, or (not full) only
// when the schema reads without an error. Writes nothing but SQLite's own rollback of a
// transaction that a crashed process left behind.
int CheckCatalogueFile(const char* path, bool full);

// The reason the last Init of an AppDB failed (FILE_OK when it succeeded, or before any).
int InitFailureOf(const AppDB* db);
void ForgetInitFailure(const AppDB* db);

// Watches one Init: at the end of its scope the outcome is kept for InitFailureOf, and a
// failure is told apart by reading the file again (only then: an Init that succeeds costs
// nothing more).
class InitOutcome {
public:
    InitOutcome(const AppDB* db, const SimpleDB* store, const char* path);
    ~InitOutcome();
    InitOutcome(const InitOutcome&) = delete;
    InitOutcome& operator=(const InitOutcome&) = delete;

private:
    const AppDB* db_;
    const SimpleDB* store_;
    const char* path_;
    bool wasOpen_;
};
