// Splitting a search text into terms.
#include "AppDB.h"
#include "TextConvert.h"
#include "search_terms.h"
#include "utf8_text.h"

CString TokenizeSeartchString(const CString& search, CArray<CString, CString>& terms) {
    CString text(search);
    ReplaceChars(text, reinterpret_cast<const unsigned short*>(L",-_*?:;|&!~"), L' ');
    text.TrimLeft();
    text.TrimRight();
    terms.RemoveAll();

    const wchar_t* separators = L" \t\r\n";
    int pos = 0;
    const int len = text.GetLength();
    // One term is taken even from an empty text: the scan always ends on a term.
    for (;;) {
        while (pos < len && wcschr(separators, text[pos])) ++pos;
        int end = pos;
        while (end < len && !wcschr(separators, text[end])) ++end;
        CString term = text.Mid(pos, end - pos);
        bool seen = false;
        for (INT_PTR i = 0; i < terms.GetSize() && !seen; ++i) seen = terms[i] == term;
        if (!seen) terms.Add(term);
        if (end >= len) break;
        pos = end + 1;
    }

    CString joined;
    for (INT_PTR i = 0; i < terms.GetSize(); ++i) {
        if (i) joined += L' ';
        joined += terms[i];
    }
    return joined;
}

bool BuildSearchCondition(const CString& search, std::string& condition) {
    CArray<CString, CString> terms;
    TokenizeSeartchString(search, terms);
    condition.clear();
    for (INT_PTR i = 0; i < terms.GetSize(); ++i) {
        if (i) condition += " AND ";
        condition += AppDB::Format(const_cast<char*>("keywords like '%%%q%%'"), ToUtf8(terms[i]).c_str());
    }
    return terms.GetSize() > 0;
}
