// Owners of what the catalogue holds: SQLite connections, statements and formatted texts,
// the store's heap records until they are handed out, and the raw members that the exported
// classes' layouts fix (AppDB's store, SimpleDB's connection and statement slots). Those
// members stay raw pointers; they are made and released only through the owners here.
#pragma once
#include <utility>
#include <sqlite3.h>
#include <unique_res.h>
#include "SimpleDB.h"

namespace sqlite_owner {

enum { kSlots = 8 };   // SimpleDB's cached statements

inline void close_db(sqlite3* db) { sqlite3_close(db); }
inline void finalize(sqlite3_stmt* st) { sqlite3_finalize(st); }
inline void free_text(char* text) { sqlite3_free(text); }
inline void free_record(SimpleDB::Record* rec) { SimpleDB::FreeRecord(rec); }
inline void free_record_set(SimpleDB::RecordSet* set) { SimpleDB::FreeRecordSet(set); }
inline void delete_store(SimpleDB* db) { delete db; }
// Finalizes every statement still cached in the slots, then releases the slot array.
inline void delete_slots(sqlite3_stmt** slots) {
    for (int i = 0; i < kSlots; ++i) finalize(slots[i]);
    delete[] slots;
}

} // namespace sqlite_owner

using unique_db = win32::unique_res<win32::null_traits<sqlite3*, &sqlite_owner::close_db>>;
using unique_stmt = win32::unique_res<win32::null_traits<sqlite3_stmt*, &sqlite_owner::finalize>>;
using unique_sql_text = win32::unique_res<win32::null_traits<char*, &sqlite_owner::free_text>>;
using unique_record = win32::unique_res<win32::null_traits<SimpleDB::Record*, &sqlite_owner::free_record>>;
using unique_record_set = win32::unique_res<win32::null_traits<SimpleDB::RecordSet*, &sqlite_owner::free_record_set>>;
using unique_store = win32::unique_res<win32::null_traits<SimpleDB*, &sqlite_owner::delete_store>>;
using unique_slots = win32::unique_res<win32::null_traits<sqlite3_stmt**, &sqlite_owner::delete_slots>>;

// A new store / slot array (all slots null) for a raw member.
inline SimpleDB* new_store() { return new SimpleDB; }
inline sqlite3_stmt** new_slots() { return new sqlite3_stmt*[sqlite_owner::kSlots](); }

// Releases what a raw member holds through its owner and leaves the member null.
template <class Owner, class H>
void release_member(H& member) {
    Owner owner(std::exchange(member, nullptr));
}
