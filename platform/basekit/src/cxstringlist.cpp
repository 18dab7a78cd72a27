// CxStringList: the items live in a vector owned by BaseKitU.dll.
#include "CxStringList.h"
#include <wchar.h>
#include <algorithm>
#include <vector>

struct CxStringList::Impl {
    std::vector<CString> items;
};

namespace {

// POSITION n stands for the item at index n - 1; null is "no item".
POSITION to_pos(size_t index) { return reinterpret_cast<POSITION>(index + 1); }
size_t from_pos(POSITION p) { return reinterpret_cast<size_t>(p) - 1; }

} // namespace

CxStringList::CxStringList() : m_pImpl(std::make_unique<Impl>()) {}
CxStringList::CxStringList(const CxStringList& o) : m_pImpl(std::make_unique<Impl>(*o.m_pImpl)) {}
CxStringList& CxStringList::operator=(const CxStringList& o) {
    if (this != &o) m_pImpl->items = o.m_pImpl->items;
    return *this;
}
CxStringList::~CxStringList() = default;

int CxStringList::GetCount() const { return static_cast<int>(m_pImpl->items.size()); }
bool CxStringList::IsEmpty() const { return m_pImpl->items.empty(); }
void CxStringList::AddTail(const wchar_t* text) { m_pImpl->items.emplace_back(text); }
void CxStringList::RemoveAll() { m_pImpl->items.clear(); }

CxString CxStringList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) return CxString();
    return CxString(m_pImpl->items[index]);
}

POSITION CxStringList::GetHeadPosition() const { return IsEmpty() ? nullptr : to_pos(0); }

CxString CxStringList::GetNext(POSITION& pos) const {
    size_t i = from_pos(pos);
    if (!pos || i >= m_pImpl->items.size()) { pos = nullptr; return CxString(); }
    pos = i + 1 < m_pImpl->items.size() ? to_pos(i + 1) : nullptr;
    return CxString(m_pImpl->items[i]);
}

int CxStringList::AddTokens(const wchar_t* text, const wchar_t* seps,
                            int bAnyChar, int bSkipEmpty, int bTrim, int bUnique) {
    if (!text) return 0;
    const size_t sepLen = seps ? wcslen(seps) : 0;
    auto& items = m_pImpl->items;
    int added = 0;
    auto take = [&](const wchar_t* b, const wchar_t* e) {
        CString piece(b, static_cast<int>(e - b));
        if (bTrim) piece.Trim();
        if (bSkipEmpty && piece.IsEmpty()) return;
        if (bUnique && std::find(items.begin(), items.end(), piece) != items.end()) return;
        items.push_back(piece);
        ++added;
    };
    const wchar_t* start = text;
    const wchar_t* p = text;
    while (*p) {
        size_t hit = 0;   // length of the separator at p, 0 when none
        if (sepLen && bAnyChar) hit = wcschr(seps, *p) ? 1 : 0;
        else if (sepLen) hit = wcsncmp(p, seps, sepLen) == 0 ? sepLen : 0;
        if (hit) {
            take(start, p);
            p += hit;
            start = p;
        } else {
            ++p;
        }
    }
    take(start, p);
    return added;
}

CxString CxStringList::ComposeToString(const wchar_t* separator, int bSkipEmpty, int bLeading, int bTrailing) const {
    CString out;
    const wchar_t* sep = separator ? separator : L"";
    bool first = true;
    for (const CString& item : m_pImpl->items) {
        if (bSkipEmpty && item.IsEmpty()) continue;
        if (!first || bLeading) out += sep;
        out += item;
        first = false;
    }
    if (bTrailing && !first) out += sep;
    return CxString(out);
}
