// SQL text built with SQLite's printf dialect (through SimpleDB::Printf, the one caller of
// sqlite3_vmprintf), at whatever length it needs.
#pragma once
#include <stdarg.h>
#include <string>

// The formatted text, or false when SQLite could not format it (a null format, out of memory).
bool SqlFormatV(std::string& out, const char* fmt, va_list args);
bool SqlFormat(std::string& out, const char* fmt, ...);
