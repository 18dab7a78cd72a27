// SQL text built with SQLite's printf dialect.
#include "sql_text.h"
#include <sqlite3.h>

bool SqlFormatV(std::string& out, const char* fmt, va_list args) {
    char* text = sqlite3_vmprintf(fmt, args);
    if (!text) return false;
    out.assign(text);
    sqlite3_free(text);
    return true;
}

bool SqlFormat(std::string& out, const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    bool ok = SqlFormatV(out, fmt, args);
    va_end(args);
    return ok;
}
