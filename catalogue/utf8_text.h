// UTF-8 conversions used inside the catalogue.
#pragma once
#include <string>
#include <afxstr.h>

// A CString from UTF-8; the empty text for null or invalid input.
CString UTF8ToCString(const char* utf8);
// The UTF-8 form of a CString (AppDB::ToUTF8 on its wide text).
std::string ToUtf8(const CString& text);
