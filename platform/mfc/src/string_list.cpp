// CStringList: nodes, insertion, removal and search.
#include "afxcoll.h"

struct CStringList::CNode {
    CNode* pNext;
    CNode* pPrev;
    CString data;
};

CStringList::CStringList(INT_PTR nBlockSize)
    : m_pNodeHead(nullptr), m_pNodeTail(nullptr), m_nCount(0), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
CStringList::~CStringList() { RemoveAll(); }

// The only places where nodes are made and released.
CStringList::CNode* CStringList::new_node(const wchar_t* text, CNode* prev, CNode* next) {
    CNode* n = new CNode{next, prev, CString(text)};
    (prev ? prev->pNext : m_pNodeHead) = n;
    (next ? next->pPrev : m_pNodeTail) = n;
    ++m_nCount;
    return n;
}
void CStringList::free_node(CNode* n) {
    (n->pPrev ? n->pPrev->pNext : m_pNodeHead) = n->pNext;
    (n->pNext ? n->pNext->pPrev : m_pNodeTail) = n->pPrev;
    --m_nCount;
    delete n;
}

static POSITION pos_of(const void* n) { return reinterpret_cast<POSITION>(const_cast<void*>(n)); }

INT_PTR CStringList::GetCount() const { return m_nCount; }
INT_PTR CStringList::GetSize() const { return m_nCount; }
BOOL CStringList::IsEmpty() const { return m_nCount == 0; }

CString& CStringList::GetHead() { return m_pNodeHead->data; }
const CString& CStringList::GetHead() const { return m_pNodeHead->data; }
CString& CStringList::GetTail() { return m_pNodeTail->data; }
const CString& CStringList::GetTail() const { return m_pNodeTail->data; }

CString CStringList::RemoveHead() {
    if (!m_pNodeHead) return CString();
    CString s = static_cast<CString&&>(m_pNodeHead->data);
    free_node(m_pNodeHead);
    return s;
}
CString CStringList::RemoveTail() {
    if (!m_pNodeTail) return CString();
    CString s = static_cast<CString&&>(m_pNodeTail->data);
    free_node(m_pNodeTail);
    return s;
}

POSITION CStringList::AddHead(const wchar_t* text) { return pos_of(new_node(text, nullptr, m_pNodeHead)); }
POSITION CStringList::AddTail(const wchar_t* text) { return pos_of(new_node(text, m_pNodeTail, nullptr)); }
void CStringList::AddHead(const CStringList* other) {
    if (!other || other == this) return;
    for (CNode* n = other->m_pNodeTail; n; n = n->pPrev) AddHead(n->data);
}
void CStringList::AddTail(const CStringList* other) {
    if (!other || other == this) return;
    for (CNode* n = other->m_pNodeHead; n; n = n->pNext) AddTail(n->data);
}
void CStringList::RemoveAll() {
    while (m_pNodeHead) free_node(m_pNodeHead);
}

POSITION CStringList::GetHeadPosition() const { return pos_of(m_pNodeHead); }
POSITION CStringList::GetTailPosition() const { return pos_of(m_pNodeTail); }

CString& CStringList::GetNext(POSITION& pos) {
    CNode* n = reinterpret_cast<CNode*>(pos);
    pos = pos_of(n->pNext);
    return n->data;
}
const CString& CStringList::GetNext(POSITION& pos) const { return const_cast<CStringList*>(this)->GetNext(pos); }
CString& CStringList::GetPrev(POSITION& pos) {
    CNode* n = reinterpret_cast<CNode*>(pos);
    pos = pos_of(n->pPrev);
    return n->data;
}
const CString& CStringList::GetPrev(POSITION& pos) const { return const_cast<CStringList*>(this)->GetPrev(pos); }
CString& CStringList::GetAt(POSITION pos) { return reinterpret_cast<CNode*>(pos)->data; }
const CString& CStringList::GetAt(POSITION pos) const { return reinterpret_cast<CNode*>(pos)->data; }
void CStringList::SetAt(POSITION pos, const wchar_t* text) { reinterpret_cast<CNode*>(pos)->data = text; }
void CStringList::RemoveAt(POSITION pos) {
    if (pos) free_node(reinterpret_cast<CNode*>(pos));
}

POSITION CStringList::InsertBefore(POSITION pos, const wchar_t* text) {
    if (!pos) return AddHead(text);
    CNode* at = reinterpret_cast<CNode*>(pos);
    return pos_of(new_node(text, at->pPrev, at));
}
POSITION CStringList::InsertAfter(POSITION pos, const wchar_t* text) {
    if (!pos) return AddTail(text);
    CNode* at = reinterpret_cast<CNode*>(pos);
    return pos_of(new_node(text, at, at->pNext));
}

POSITION CStringList::Find(const wchar_t* text, POSITION startAfter) const {
    CNode* n = startAfter ? reinterpret_cast<CNode*>(startAfter)->pNext : m_pNodeHead;
    for (; n; n = n->pNext)
        if (n->data == (text ? text : L"")) return pos_of(n);
    return nullptr;
}

POSITION CStringList::FindIndex(INT_PTR index) const {
    if (index < 0 || index >= m_nCount) return nullptr;
    CNode* n = m_pNodeHead;
    while (index-- > 0) n = n->pNext;
    return pos_of(n);
}
