// Search terms and the keywords condition built from them.
#pragma once
#include <string>
#include <afxstr.h>

// "keywords like '%term%'" for each term of search, joined by " AND " (UTF-8, quotes
// doubled). Returns whether there was at least one term.
bool BuildSearchCondition(const CString& search, std::string& condition);
