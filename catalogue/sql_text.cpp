// SQL text built with SQLite's printf dialect.
#include "sql_text.h"
#include "sqlite_owners.h"

bool SqlFormatV(std::string& out, const char* fmt, va_list args) {
    unique_sql_text text(SimpleDB::Printf(fmt, args));
    if (!text) return false;
    out.assign(text.get());
    return true;
}

bool SqlFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    const bool ok = SqlFormatV(out, fmt, args);
    va_end(args);
    return ok;
}
