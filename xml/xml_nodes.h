// Shared texts and node handles of the XML model.
//
// A shared text is a header {chunk, count, length} followed by the zero-terminated units;
// the records point at the units. A record carries the number of handles held on it: one
// from its making, which the list it first joins takes over, and one per further list that
// holds it; the last release deletes it. Releasing a subtree never recurses and never
// allocates, so trees of any depth are released on a small stack, in destructors too.
//
// Out of memory: the allocating helpers here throw std::bad_alloc; every exported
// operation of the model catches it at its boundary and fails by its result.
#pragma once
#include <stddef.h>
#include "XmlDoc.h"

namespace xmltext {

// A chunk's `live` counts the blocks in it plus one while it is an arena's current chunk.
struct Chunk {
    long live;
    size_t used;
};

// Texts and records made during one parse come from shared chunks instead of one heap block
// each. A chunk is freed when the last block in it is released (and the arena has moved on).
class Arena {
public:
    static const size_t kChunkBytes = 64 * 1024;
    static const size_t kLargest = kChunkBytes / 8;   // larger blocks are heap blocks of their own

    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena();

    // Blocks are rounded to a pointer's size: every record and text header is aligned as the
    // pointers and counts in it need. *chunk: the chunk holding the block, or null. Inline:
    // a parse takes several blocks per element.
    void* alloc(size_t bytes, void** chunk) {
        bytes = (bytes + sizeof(void*) - 1) & ~(sizeof(void*) - 1);
        if (!current_ || bytes > kLargest || current_->used + bytes > kChunkBytes) return alloc_elsewhere(bytes, chunk);
        void* p = reinterpret_cast<char*>(current_ + 1) + current_->used;
        current_->used += bytes;
        ++current_->live;
        *chunk = current_;
        return p;
    }

private:
    void* alloc_elsewhere(size_t bytes, void** chunk);   // in a fresh chunk, or a heap block
    Chunk* current_ = nullptr;
};

unsigned short* make(const unsigned short* text, size_t length, Arena* arena = nullptr);   // count 1
unsigned short* make(const unsigned short* text);                  // null stays null
unsigned short* make(const wchar_t* text, size_t length, Arena* arena = nullptr);
unsigned short* share(unsigned short* text);                       // one more holder
void release(unsigned short* text);                                // null is fine

// The header in front of a text's units.
struct TextHeader {
    void* chunk;      // the arena chunk holding the text, or null for a heap block of its own
    long count;
    size_t length;
};

inline size_t length(const unsigned short* text) {   // 0 for null
    return text ? reinterpret_cast<const TextHeader*>(text)[-1].length : 0;
}
}

struct XmlNodes {
    // New records holding one list handle; they take both texts (and release them when
    // the record cannot be made). With an arena the record lives in one of its chunks.
    static _xml_attr* new_attr(unsigned short* name, unsigned short* value, xmltext::Arena* arena = nullptr);
    static _xml_element* new_element(unsigned short* name, unsigned short* value, xmltext::Arena* arena = nullptr);
    static void hold(_xml_attr* a) { ++a->m_nRefs; }
    static void hold(_xml_element* e) { ++e->m_nRefs; }
    // Drop one handle; the last one frees the record and what it alone held. Null is fine.
    static void release(_xml_attr* a);
    static void release(_xml_element* e);

    // Copies the handles of src into dst (which must be empty); dst is left empty when
    // that fails.
    template <class T>
    static void share_list(CArray<T*, T*>& dst, const CArray<T*, T*>& src) {
        dst.SetSize(src.GetSize());
        for (INT_PTR i = 0; i < src.GetSize(); ++i) {
            dst[i] = src[i];
            hold(src[i]);
        }
    }
    // Drops the handles of list and empties it.
    template <class T>
    static void release_list(CArray<T*, T*>& list) {
        for (INT_PTR i = 0; i < list.GetSize(); ++i) release(list[i]);
        list.RemoveAll();
    }
    // Appends a record that holds one handle for the list; on failure the record is
    // released and the failure passed on.
    template <class T>
    static T* append(CArray<T*, T*>& list, T* record) {
        try {
            list.Add(record);
        } catch (...) {
            release(record);
            throw;
        }
        return record;
    }
    // Makes dst hold what src holds. Everything that can fail comes first, so that a
    // failure changes nothing; the new handles are taken before the old ones go, since src
    // may lie in the subtree that dst lets go of.
    template <class T>
    class Reassign {
    public:
        Reassign(CArray<T*, T*>& dst, const CArray<T*, T*>& src) : dst_(dst) {
            share_list(held_, src);
            try {   // room for the new handles, dst unchanged
                const INT_PTR old = dst.GetSize();
                if (old < held_.GetSize()) {
                    dst.SetSize(held_.GetSize());
                    dst.SetSize(old);
                }
            } catch (...) {
                release_list(held_);
                throw;
            }
        }
        Reassign(const Reassign&) = delete;
        Reassign& operator=(const Reassign&) = delete;
        ~Reassign() { release_list(held_); }   // still held when commit never ran
        void commit() {   // cannot fail
            const INT_PTR n = held_.GetSize();
            for (INT_PTR i = 0; i < dst_.GetSize(); ++i) release(dst_[i]);
            dst_.SetSize(n);
            for (INT_PTR i = 0; i < n; ++i) dst_[i] = held_[i];
            held_.RemoveAll();
        }

    private:
        CArray<T*, T*>& dst_;
        CArray<T*, T*> held_;
    };

private:
    template <class T>
    static T* new_record(unsigned short* name, unsigned short* value, xmltext::Arena* arena);
    template <class T>
    static void free_record(T* r);
};
