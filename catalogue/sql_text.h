// SQL text built with SQLite's printf dialect, at whatever length it needs.
#pragma once
#include <stdarg.h>
#include <string>

// The formatted text, or false when SQLite could not format it (out of memory).
bool SqlFormatV(std::string& out, const char* fmt, va_list args);
bool SqlFormat(std::string& out, const char* fmt, ...);
