// Shared texts and node handles of the XML model.
//
// A shared text is a header {chunk, count, length} followed by the zero-terminated units;
// the records point at the units. A node in a list carries the number of list handles held
// on it; the last release deletes it. Releasing a subtree never recurses, so trees of any
// depth are released on a small stack.
#pragma once
#include <stddef.h>
#include "XmlDoc.h"

namespace xmltext {

struct Chunk;

// Texts made during one parse come from shared chunks instead of one heap block each. A
// chunk is freed when the last text in it is released (and the arena has moved on).
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena();
    void* alloc(size_t bytes, void** chunk);   // *chunk: the chunk holding the block, or null

private:
    Chunk* current_ = nullptr;
};

unsigned short* make(const unsigned short* text, size_t length, Arena* arena = nullptr);   // count 1
unsigned short* make(const unsigned short* text);                  // null stays null
unsigned short* make(const wchar_t* text, size_t length, Arena* arena = nullptr);
unsigned short* share(unsigned short* text);                       // one more holder
void release(unsigned short* text);                                // null is fine
void release_chunk(void* chunk);                                   // one block of it is done
size_t length(const unsigned short* text);                         // 0 for null
}

struct XmlNodes {
    // New records holding one list handle; they take both texts. With an arena the record
    // lives in one of its chunks.
    static _xml_attr* new_attr(unsigned short* name, unsigned short* value, xmltext::Arena* arena = nullptr);
    static _xml_element* new_element(unsigned short* name, unsigned short* value, xmltext::Arena* arena = nullptr);
    static void hold(_xml_attr* a) { ++a->m_nRefs; }
    static void hold(_xml_element* e) { ++e->m_nRefs; }
    static void release(_xml_attr* a);
    // Drops one handle on each element in `elements`; frees those left without one.
    static void release(_xml_element** elements, INT_PTR count);
    // Copies the handles of src into dst (which must be empty).
    template <class T>
    static void share_list(CArray<T*, T*>& dst, const CArray<T*, T*>& src) {
        dst.SetSize(src.GetSize());
        for (INT_PTR i = 0; i < src.GetSize(); ++i) {
            dst[i] = src[i];
            hold(src[i]);
        }
    }
    static void release_list(CArray<_xml_attr*, _xml_attr*>& list);
    static void release_list(CArray<_xml_element*, _xml_element*>& list);
};
