// Shared texts and node handles of the XML model.
#include "xml_nodes.h"
#include <stdlib.h>
#include <string.h>
#include <new>
#include <vector>

namespace {

struct TextHeader {
    void* chunk;      // the arena chunk holding the text, or null for a heap block of its own
    long count;
    size_t length;
};

TextHeader* header_of(unsigned short* text) { return reinterpret_cast<TextHeader*>(text) - 1; }

const size_t kChunkBytes = 64 * 1024;

} // namespace

namespace xmltext {

// A chunk's `live` counts the texts in it plus one while it is the arena's current chunk.
struct Chunk {
    long live;
    size_t used;
};

namespace {
void drop(Chunk* c) {
    if (c && --c->live == 0) free(c);
}
} // namespace

Arena::~Arena() { drop(current_); }

void* Arena::alloc(size_t bytes, void** chunk) {
    bytes = (bytes + 3) & ~size_t(3);
    if (bytes > kChunkBytes / 8) {   // large texts get a block of their own
        *chunk = nullptr;
        return malloc(bytes);
    }
    if (!current_ || current_->used + bytes > kChunkBytes) {
        drop(current_);
        current_ = static_cast<Chunk*>(malloc(sizeof(Chunk) + kChunkBytes));
        if (!current_) throw std::bad_alloc();
        current_->live = 1;
        current_->used = 0;
    }
    void* p = reinterpret_cast<char*>(current_ + 1) + current_->used;
    current_->used += bytes;
    ++current_->live;
    *chunk = current_;
    return p;
}

unsigned short* make(const unsigned short* text, size_t length, Arena* arena) {
    const size_t bytes = sizeof(TextHeader) + (length + 1) * sizeof(unsigned short);
    void* chunk = nullptr;
    auto* h = static_cast<TextHeader*>(arena ? arena->alloc(bytes, &chunk) : malloc(bytes));
    if (!h) throw std::bad_alloc();
    h->chunk = chunk;
    h->count = 1;
    h->length = length;
    auto* units = reinterpret_cast<unsigned short*>(h + 1);
    if (length) memcpy(units, text, length * sizeof(unsigned short));
    units[length] = 0;
    return units;
}

unsigned short* make(const unsigned short* text) {
    if (!text) return nullptr;
    size_t n = 0;
    while (text[n]) ++n;
    return make(text, n);
}

unsigned short* make(const wchar_t* text, size_t length, Arena* arena) {
    return make(reinterpret_cast<const unsigned short*>(text), length, arena);
}

unsigned short* share(unsigned short* text) {
    if (text) ++header_of(text)->count;
    return text;
}

void release(unsigned short* text) {
    if (!text) return;
    TextHeader* h = header_of(text);
    if (--h->count > 0) return;
    if (h->chunk) drop(static_cast<Chunk*>(h->chunk));
    else free(h);
}

size_t length(const unsigned short* text) {
    return text ? header_of(const_cast<unsigned short*>(text))->length : 0;
}

void release_chunk(void* chunk) { drop(static_cast<Chunk*>(chunk)); }

} // namespace xmltext

namespace {

// A record made in an arena chunk, or on the heap without one.
template <class T>
T* make_record(xmltext::Arena* arena, void*& chunk) {
    chunk = nullptr;
    if (!arena) return new T;
    return new (arena->alloc(sizeof(T), &chunk)) T;
}

template <class T>
void free_record(T* r, void* chunk) {
    if (!chunk) {
        delete r;
        return;
    }
    r->~T();
    xmltext::release_chunk(chunk);
}

} // namespace

_xml_attr* XmlNodes::new_attr(unsigned short* name, unsigned short* value, xmltext::Arena* arena) {
    void* chunk;
    auto* a = make_record<_xml_attr>(arena, chunk);
    a->m_pChunk = chunk;
    a->name = name;
    a->value = value;
    a->m_nRefs = 1;
    return a;
}

_xml_element* XmlNodes::new_element(unsigned short* name, unsigned short* value, xmltext::Arena* arena) {
    void* chunk;
    auto* e = make_record<_xml_element>(arena, chunk);
    e->m_pChunk = chunk;
    e->name = name;
    e->value = value;
    e->m_nRefs = 1;
    return e;
}

void XmlNodes::release(_xml_attr* a) {
    if (--a->m_nRefs == 0) free_record(a, a->m_pChunk);
}

void XmlNodes::release(_xml_element** elements, INT_PTR count) {
    std::vector<_xml_element*> work(elements, elements + count);
    while (!work.empty()) {
        _xml_element* e = work.back();
        work.pop_back();
        if (--e->m_nRefs > 0) continue;
        // Take the children over before the node goes, so that its destructor has none.
        for (INT_PTR i = 0; i < e->children.GetSize(); ++i) work.push_back(e->children[i]);
        e->children.RemoveAll();
        free_record(e, e->m_pChunk);
    }
}

void XmlNodes::release_list(CArray<_xml_attr*, _xml_attr*>& list) {
    for (INT_PTR i = 0; i < list.GetSize(); ++i) release(list[i]);
    list.RemoveAll();
}

void XmlNodes::release_list(CArray<_xml_element*, _xml_element*>& list) {
    release(list.GetData(), list.GetSize());
    list.RemoveAll();
}
