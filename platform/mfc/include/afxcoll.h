// CStringList: a doubly linked list of CStrings, walked with POSITION values.
//
// The list owns its nodes; they are allocated and freed by MfcLiteU.dll (out-of-line
// members), so a list filled in one module may be emptied or destroyed in another.
// A POSITION stays valid until its node is removed.
#pragma once
#include <windows.h>
#include "afxstr.h"
#include "afxtempl.h"

class MFCLITE_API CStringList {
public:
    explicit CStringList(INT_PTR nBlockSize = 10);   // nodes per allocation block (a hint)
    CStringList(const CStringList&) = delete;
    CStringList& operator=(const CStringList&) = delete;
    ~CStringList();

    INT_PTR GetCount() const;
    INT_PTR GetSize() const;
    BOOL IsEmpty() const;

    // Head and tail of a non-empty list.
    CString& GetHead();
    const CString& GetHead() const;
    CString& GetTail();
    const CString& GetTail() const;
    CString RemoveHead();
    CString RemoveTail();

    POSITION AddHead(const wchar_t* text);
    POSITION AddTail(const wchar_t* text);
    void AddHead(const CStringList* other);
    void AddTail(const CStringList* other);
    void RemoveAll();

    POSITION GetHeadPosition() const;
    POSITION GetTailPosition() const;
    CString& GetNext(POSITION& pos);               // the item at pos; pos moves on (null at the end)
    const CString& GetNext(POSITION& pos) const;
    CString& GetPrev(POSITION& pos);
    const CString& GetPrev(POSITION& pos) const;
    CString& GetAt(POSITION pos);
    const CString& GetAt(POSITION pos) const;
    void SetAt(POSITION pos, const wchar_t* text);
    void RemoveAt(POSITION pos);
    POSITION InsertBefore(POSITION pos, const wchar_t* text);   // null pos: at the head
    POSITION InsertAfter(POSITION pos, const wchar_t* text);    // null pos: at the tail

    // The first item equal to text (exact), after startAfter (null: from the head); null when none.
    POSITION Find(const wchar_t* text, POSITION startAfter = nullptr) const;
    // The position of the item at index; null when index is out of range.
    POSITION FindIndex(INT_PTR index) const;

private:
    struct CNode;
    CNode* new_node(const wchar_t* text, CNode* prev, CNode* next);
    void free_node(CNode* node);
    CNode* m_pNodeHead;
    CNode* m_pNodeTail;
    INT_PTR m_nCount;
    INT_PTR m_nBlockSize;
};
