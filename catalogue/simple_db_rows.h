// The rows of a listing read in place: the statement of SimpleDB::Query, prepared on the
// store's connection, whose rows the caller copies straight into its own items. Nothing
// passes through the store's heap records on the way.
#pragma once
#include <string>
#include "SimpleDB.h"
#include "sqlite_owners.h"

// Columns of each row, as in Query's records.
enum RowColumn { kRowKey, kRowCat, kRowTime, kRowLevel, kRowGroup, kRowKeywords, kRowValue, kRowBinSize };

class SimpleDBRows {
public:
    // Query(nullptr, count, page, "%s", where)'s statement into rows; false where Query
    // gives null (store closed, page out of range, SQL refused). Query stops at the first
    // row without a key; so must the reader.
    static bool Prepare(SimpleDB& db, const std::string& where, int count, int page, unique_stmt& rows);
    // The store closed as the library unloads (catalogue_unload.h): a short wait for other
    // programs' reads, and writes it cannot commit logged as lost.
    static void CloseAtUnload(SimpleDB& db) { db.close_unreported(); }
};
