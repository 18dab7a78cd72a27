// What a catalogue file holds, read on a connection of its own before Init writes anything.
#pragma once

enum class CatalogueFile {
    Versioned,     // the table with a non-empty "VERSION" row: used as it is
    Unversioned,   // no file yet, no table, or a table without a version row that passed
                   // SQLite's quick_check: the table is started anew
    Unreadable,    // not a database, damaged, or locked by another connection: left alone
};

// Reads the file at the UTF-8 path; writes nothing (other than SQLite's own rollback of a
// transaction that a crashed process left behind).
CatalogueFile ReadCatalogueFile(const char* path, const char* table);
