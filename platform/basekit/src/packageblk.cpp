// CPackageBlk / CUnpackageBlk: writing and bounds-checked reading of package images.
#include "CPackageBlk.h"
#include <string.h>
#include <wchar.h>
#include <string>
#include <vector>

namespace {

const char kMagic[4] = {'X', 'P', 'K', '1'};
const size_t kHeader = 8;

void put32(std::vector<unsigned char>& out, unsigned long v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

unsigned long get32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned long>(p[3]) << 24);
}

} // namespace

struct CPackageBlk::Impl {
    std::vector<unsigned char> image;
    unsigned long count = 0;
};

CPackageBlk::CPackageBlk(int /*version*/) : m_pImpl(std::make_unique<Impl>()) {
    m_pImpl->image.assign(kMagic, kMagic + 4);
    put32(m_pImpl->image, 0);
}

CPackageBlk::~CPackageBlk() = default;

BOOL CPackageBlk::Add(const wchar_t* key, const void* data, unsigned long size) {
    if (!key || (!data && size)) return FALSE;
    std::vector<unsigned char>& out = m_pImpl->image;
    const unsigned long units = static_cast<unsigned long>(wcslen(key));
    put32(out, units);
    for (unsigned long i = 0; i < units; ++i) {
        out.push_back(static_cast<unsigned char>(key[i]));
        out.push_back(static_cast<unsigned char>(key[i] >> 8));
    }
    put32(out, size);
    const auto* p = static_cast<const unsigned char*>(data);
    if (size) out.insert(out.end(), p, p + size);
    ++m_pImpl->count;
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>(m_pImpl->count >> (8 * i));
    return TRUE;
}

const void* CPackageBlk::GetPackagePtr() const { return m_pImpl->image.data(); }
unsigned long CPackageBlk::GetPackageSize() const { return static_cast<unsigned long>(m_pImpl->image.size()); }

struct CUnpackageBlk::Impl {
    struct Item {
        std::wstring key;
        size_t offset;
        unsigned long size;
    };
    std::vector<unsigned char> image;
    std::vector<Item> items;
};

CUnpackageBlk::CUnpackageBlk() : m_pImpl(std::make_unique<Impl>()) {}
CUnpackageBlk::~CUnpackageBlk() = default;

BOOL CUnpackageBlk::SetData(const void* data, unsigned long size) {
    Impl& m = *m_pImpl;
    m.items.clear();
    m.image.clear();
    if (!data || size < kHeader || memcmp(data, kMagic, 4) != 0) return FALSE;
    const auto* p = static_cast<const unsigned char*>(data);
    m.image.assign(p, p + size);

    // Invariant of the walk: pos <= size, and every read is checked against size - pos.
    const unsigned long count = get32(&m.image[4]);
    size_t pos = kHeader;
    for (unsigned long i = 0; i < count; ++i) {
        if (size - pos < 4) break;
        const unsigned long units = get32(&m.image[pos]);
        pos += 4;
        if (units > (size - pos) / 2) break;
        std::wstring key(units, L'\0');
        for (unsigned long u = 0; u < units; ++u)
            key[u] = static_cast<wchar_t>(m.image[pos + 2 * u] | (m.image[pos + 2 * u + 1] << 8));
        pos += 2 * static_cast<size_t>(units);
        if (size - pos < 4) break;
        const unsigned long bytes = get32(&m.image[pos]);
        pos += 4;
        if (bytes > size - pos) break;
        m.items.push_back(Impl::Item{key, pos, bytes});
        pos += bytes;
    }
    return TRUE;
}

BOOL CUnpackageBlk::GetData(const wchar_t* key, void* data, unsigned long& size) const {
    if (!key) return FALSE;
    for (const Impl::Item& item : m_pImpl->items) {
        if (item.key != key) continue;
        unsigned long n = size < item.size ? size : item.size;
        if (data && n) memcpy(data, &m_pImpl->image[item.offset], n);
        size = item.size;
        return TRUE;
    }
    return FALSE;
}
