// CxStringList: an ordered list of wide strings.
#pragma once
#include <afxtempl.h>
#include <memory>
#include "CxString.h"

class BASEKIT_API CxStringList {
public:
    CxStringList();
    CxStringList(const CxStringList& other);
    CxStringList& operator=(const CxStringList& other);
    ~CxStringList();

    int GetCount() const;
    bool IsEmpty() const;
    void AddTail(const wchar_t* text);
    void RemoveAll();
    // The item at index, or the empty text when out of range.
    CxString GetItem(int index) const;

    POSITION GetHeadPosition() const;                 // null for an empty list
    CxString GetNext(POSITION& pos) const;           // the item at pos; pos moves on (null at the end)

    // Splits text and appends the pieces; returns how many were appended.
    //   bAnyChar:   1 - each character of separators separates; 0 - the whole text does
    //   bSkipEmpty: 1 - empty pieces are dropped
    //   bTrim:      1 - blanks, tabs and line breaks are trimmed from each piece
    //   bUnique:    1 - a piece already in the list is not appended again
    int AddTokens(const wchar_t* text, const wchar_t* separators,
                  int bAnyChar, int bSkipEmpty, int bTrim, int bUnique);

    // Joins the items with separator between them.
    //   bSkipEmpty: 1 - empty items are left out
    //   bLeading:   1 - the text also starts with the separator
    //   bTrailing:  1 - the text also ends with the separator
    CxString ComposeToString(const wchar_t* separator, int bSkipEmpty, int bLeading, int bTrailing) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
