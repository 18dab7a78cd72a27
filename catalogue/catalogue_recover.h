// Recovering a damaged catalogue file through SQLite's recovery extension (AppDB::RecoverFile).
#pragma once
#include "AppDB.h"

// Recovers the catalogue file at path (UTF-16) in place; see AppDB::RecoverFile.
int RecoverCatalogueFile(const CString& path, AppDB::RecoveryReport& report);
