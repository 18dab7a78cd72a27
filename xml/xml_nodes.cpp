// Shared texts and node handles of the XML model.
#include "xml_nodes.h"
#include "xml_heap.h"
#include <stdint.h>
#include <string.h>
#include <new>

namespace {

using xmltext::TextHeader;

TextHeader* header_of(unsigned short* text) { return reinterpret_cast<TextHeader*>(text) - 1; }

// Every block of the model comes from here.
void* allocate(size_t bytes) {
    void* p = xmlheap::alloc(bytes);
    if (!p) throw std::bad_alloc();
    return p;
}

} // namespace

namespace xmltext {

namespace {
void drop(void* chunk) {
    auto* c = static_cast<Chunk*>(chunk);
    if (c && --c->live == 0) xmlheap::free(c);
}
} // namespace

Arena::~Arena() { drop(current_); }

void* Arena::alloc_elsewhere(size_t bytes, void** chunk) {
    if (bytes > kLargest) {
        *chunk = nullptr;
        return allocate(bytes);
    }
    auto* fresh = static_cast<Chunk*>(allocate(sizeof(Chunk) + kChunkBytes));
    drop(current_);
    current_ = fresh;
    current_->live = 1;
    current_->used = 0;
    return alloc(bytes, chunk);
}

// Most texts of a parse are a few units long: those are copied here rather than through a
// call of the runtime's memcpy (GCC would turn the loop back into that call; clang, which
// builds the sanitized cores, has no such switch).
#if defined(__clang__)
#define XML_COPY_IN_PLACE
#else
#define XML_COPY_IN_PLACE __attribute__((optimize("no-tree-loop-distribute-patterns")))
#endif
XML_COPY_IN_PLACE
unsigned short* make(const unsigned short* text, size_t length, Arena* arena) {
    const size_t bytes = sizeof(TextHeader) + (length + 1) * sizeof(unsigned short);
    void* chunk = nullptr;
    auto* h = static_cast<TextHeader*>(arena ? arena->alloc(bytes, &chunk) : allocate(bytes));
    h->chunk = chunk;
    h->count = 1;
    h->length = length;
    auto* units = reinterpret_cast<unsigned short*>(h + 1);
    if (length > 32) memcpy(units, text, length * sizeof(unsigned short));
    else
        for (size_t i = 0; i < length; ++i) units[i] = text[i];
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

namespace {
// Inline: a tree's release lets go of two to four texts per element.
inline void release_inline(unsigned short* text) {
    if (!text) return;
    TextHeader* h = header_of(text);
    if (--h->count > 0) return;
    if (h->chunk) drop(h->chunk);
    else xmlheap::free(h);
}
} // namespace

void release(unsigned short* text) { release_inline(text); }

} // namespace xmltext

namespace {

// A record made in an arena chunk, or on the heap without one.
template <class T>
T* make_record(xmltext::Arena* arena, void*& chunk) {
    chunk = nullptr;
    return new (arena ? arena->alloc(sizeof(T), &chunk) : allocate(sizeof(T))) T;
}

} // namespace

// Records a host makes with new live in the model's heap, as the model's own do: a list's
// last release and the host's delete both free them there.
void* _xml_attr::operator new(size_t bytes) noexcept { return xmlheap::alloc(bytes); }
void* _xml_attr::operator new(size_t bytes, const std::nothrow_t&) noexcept { return xmlheap::alloc(bytes); }
void _xml_attr::operator delete(void* record) noexcept { xmlheap::free(record); }
void* _xml_element::operator new(size_t bytes) noexcept { return xmlheap::alloc(bytes); }
void* _xml_element::operator new(size_t bytes, const std::nothrow_t&) noexcept { return xmlheap::alloc(bytes); }
void _xml_element::operator delete(void* record) noexcept { xmlheap::free(record); }

// Frees a record whose texts and lists have been let go of: its destructor would have
// nothing left to do, and is not called.
template <class T>
void XmlNodes::free_record(T* r) {
    if (r->m_pChunk) xmltext::drop(r->m_pChunk);
    else xmlheap::free(r);
}

template <class T>
T* XmlNodes::new_record(unsigned short* name, unsigned short* value, xmltext::Arena* arena) {
    void* chunk;
    T* r;
    try {
        r = make_record<T>(arena, chunk);
    } catch (...) {
        xmltext::release(name);
        xmltext::release(value);
        throw;
    }
    r->m_pChunk = chunk;
    r->name = name;
    r->value = value;
    return r;   // the constructor's one handle is the list's
}

_xml_attr* XmlNodes::new_attr(unsigned short* name, unsigned short* value, xmltext::Arena* arena) {
    return new_record<_xml_attr>(name, value, arena);
}

_xml_element* XmlNodes::new_element(unsigned short* name, unsigned short* value, xmltext::Arena* arena) {
    return new_record<_xml_element>(name, value, arena);
}

void XmlNodes::release(_xml_attr* a) {
    if (!a || --a->m_nRefs > 0) return;
    xmltext::release_inline(a->name);
    xmltext::release_inline(a->value);
    free_record(a);
}

// A node whose last handle goes joins a stack of dying nodes, linked through its value
// field (its texts are released first), and keeps in its name field how many of its
// children it has let go of so far. The top node lets go of its next child, which joins
// the stack when that was its last handle; a node whose children are all let go of leaves
// the stack and is freed. Each node is touched when its turn comes, so a parsed tree is
// walked in the order its memory was filled.
void XmlNodes::release(_xml_element* e) {
    _xml_element* dying = nullptr;
    auto drop = [&dying](_xml_element* node) {
        if (!node || --node->m_nRefs > 0) return;
        xmltext::release_inline(node->name);
        xmltext::release_inline(node->value);
        node->name = nullptr;   // no child let go of yet
        node->value = reinterpret_cast<unsigned short*>(dying);
        dying = node;
    };
    drop(e);
    while (dying) {
        _xml_element* node = dying;
        const INT_PTR next = static_cast<INT_PTR>(reinterpret_cast<uintptr_t>(node->name));
        if (next < node->children.GetSize()) {
            node->name = reinterpret_cast<unsigned short*>(static_cast<uintptr_t>(next + 1));
            drop(node->children[next]);
            continue;
        }
        dying = reinterpret_cast<_xml_element*>(node->value);
        for (INT_PTR i = 0; i < node->attrs.GetSize(); ++i) release(node->attrs[i]);
        node->attrs.RemoveAll();
        node->children.RemoveAll();
        free_record(node);
    }
}
