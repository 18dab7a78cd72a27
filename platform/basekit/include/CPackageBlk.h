// A key/value package: a flat byte image of (wide key, bytes) items, for handing records
// between threads through a queue.
//
// Image: "XPK1", item count (32-bit), then per item: key length in UTF-16 units (32-bit),
// the key units, value length in bytes (32-bit), the value bytes. All little-endian.
#pragma once
#include <windows.h>
#include <memory>
#include "basekit_api.h"

class BASEKIT_API CPackageBlk {
public:
    explicit CPackageBlk(int version = 1);   // version 1 is the only image format
    ~CPackageBlk();
    CPackageBlk(const CPackageBlk&) = delete;
    CPackageBlk& operator=(const CPackageBlk&) = delete;

    // Appends an item; data may be null only when size is 0. False for a null key.
    BOOL Add(const wchar_t* key, const void* data, unsigned long size);
    const void* GetPackagePtr() const;
    unsigned long GetPackageSize() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

class BASEKIT_API CUnpackageBlk {
public:
    CUnpackageBlk();
    ~CUnpackageBlk();
    CUnpackageBlk(const CUnpackageBlk&) = delete;
    CUnpackageBlk& operator=(const CUnpackageBlk&) = delete;

    // Takes a copy of an image. Items that lie wholly inside the bytes given are readable;
    // a truncated or malformed tail is ignored. False when not even the header is valid.
    BOOL SetData(const void* data, unsigned long size);
    // The first item named key: copies at most `size` bytes of its value into data (data
    // may be null to ask for the size) and sets size to the value's whole length.
    // False, changing nothing, when the key is absent.
    BOOL GetData(const wchar_t* key, void* data, unsigned long& size) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};
