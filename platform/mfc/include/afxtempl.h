// CArray: a growable array of TYPE, passed by ARG_TYPE.
//
// Invariant: elements [0, m_nSize) are constructed; [m_nSize, m_nMaxSize) is raw
// storage. The storage comes from MfcLiteU.dll (AfxArrayAlloc/AfxArrayFree), so an
// array filled in one module may be emptied or destroyed in another.
#pragma once
#include <windows.h>
#include <new>
#include <stddef.h>
#include <string.h>
#include "mfclite_api.h"

// Opaque iterator of the list classes.
struct __POSITION {};
typedef __POSITION* POSITION;

MFCLITE_API void* AfxArrayAlloc(size_t bytes);   // null when out of memory
MFCLITE_API void AfxArrayFree(void* p);

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    ~CArray() { RemoveAll(); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    bool IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    TYPE& ElementAt(INT_PTR i) { return m_pData[i]; }
    const TYPE& ElementAt(INT_PTR i) const { return m_pData[i]; }
    const TYPE& GetAt(INT_PTR i) const { return m_pData[i]; }
    void SetAt(INT_PTR i, ARG_TYPE v) { m_pData[i] = v; }
    TYPE& operator[](INT_PTR i) { return m_pData[i]; }
    const TYPE& operator[](INT_PTR i) const { return m_pData[i]; }
    TYPE* GetData() { return m_pData; }
    const TYPE* GetData() const { return m_pData; }

    // Grows or shrinks to n elements; new elements are value-initialised.
    void SetSize(INT_PTR n, INT_PTR growBy = -1) {
        if (growBy >= 0) m_nGrowBy = growBy;
        if (n < 0) n = 0;
        if (n > m_nMaxSize) Grow(n);
        for (INT_PTR i = m_nSize; i < n; ++i) new (&m_pData[i]) TYPE();
        for (INT_PTR i = n; i < m_nSize; ++i) m_pData[i].~TYPE();
        m_nSize = n;
    }
    void RemoveAll() {
        if (!m_pData) return;   // most arrays of a tree stay empty: no call into the module
        for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i].~TYPE();
        AfxArrayFree(m_pData);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }
    INT_PTR Add(ARG_TYPE v) {
        TYPE copy(v);   // v may live in this array, which may move
        if (m_nSize == m_nMaxSize) Grow(m_nSize + 1);
        new (&m_pData[m_nSize]) TYPE(static_cast<TYPE&&>(copy));
        return m_nSize++;
    }
    void SetAtGrow(INT_PTR i, ARG_TYPE v) {
        TYPE copy(v);
        if (i >= m_nSize) SetSize(i + 1);
        m_pData[i] = static_cast<TYPE&&>(copy);
    }
    void InsertAt(INT_PTR i, ARG_TYPE v, INT_PTR count = 1) {
        TYPE copy(v);
        if (count <= 0) return;
        if (i > m_nSize) SetSize(i);
        if (m_nSize + count > m_nMaxSize) Grow(m_nSize + count);
        // Element bytes are relocated as a block: every TYPE used with CArray is
        // relocatable (as in MFC).
        memmove(static_cast<void*>(m_pData + i + count), static_cast<void*>(m_pData + i),
                (m_nSize - i) * sizeof(TYPE));
        for (INT_PTR k = 0; k < count; ++k) new (&m_pData[i + k]) TYPE(copy);
        m_nSize += count;
    }
    void RemoveAt(INT_PTR i, INT_PTR count = 1) {
        if (i < 0 || count <= 0 || i >= m_nSize) return;
        if (count > m_nSize - i) count = m_nSize - i;
        for (INT_PTR k = 0; k < count; ++k) m_pData[i + k].~TYPE();
        memmove(static_cast<void*>(m_pData + i), static_cast<void*>(m_pData + i + count),
                (m_nSize - i - count) * sizeof(TYPE));
        m_nSize -= count;
    }
    void Copy(const CArray& src) {
        if (&src == this) return;
        SetSize(0);
        for (INT_PTR i = 0; i < src.m_nSize; ++i) Add(src.m_pData[i]);
    }
    INT_PTR Append(const CArray& src) {
        INT_PTR first = m_nSize;
        INT_PTR n = src.m_nSize;   // src may be this array
        for (INT_PTR i = 0; i < n; ++i) Add(src.m_pData[i]);
        return first;
    }

private:
    void Grow(INT_PTR need) {
        INT_PTR cap = m_nMaxSize + (m_nGrowBy > 0 ? m_nGrowBy : (m_nMaxSize / 2 > 4 ? m_nMaxSize / 2 : 4));
        if (cap < need) cap = need;
        TYPE* p = static_cast<TYPE*>(AfxArrayAlloc(static_cast<size_t>(cap) * sizeof(TYPE)));
        if (!p) throw std::bad_alloc();
        if (m_nSize) memcpy(static_cast<void*>(p), static_cast<void*>(m_pData), m_nSize * sizeof(TYPE));
        AfxArrayFree(m_pData);
        m_pData = p;
        m_nMaxSize = cap;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = 0;
};
