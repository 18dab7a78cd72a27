// Where the XML model's records, texts and chunks live.
#pragma once
#include <stddef.h>
#include <new>

namespace xmlheap {
void* alloc(size_t bytes);   // null when out of memory
void free(void* block);      // null is fine

// For the reader's working lists: its pages are the ones the model keeps committed.
template <class T>
struct Allocator {
    using value_type = T;
    Allocator() = default;
    template <class U>
    Allocator(const Allocator<U>&) {}
    T* allocate(size_t n) {
        if (n > size_t(-1) / sizeof(T)) throw std::bad_alloc();
        if (void* p = alloc(n * sizeof(T))) return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, size_t) { free(p); }
    template <class U>
    bool operator==(const Allocator<U>&) const { return true; }
    template <class U>
    bool operator!=(const Allocator<U>&) const { return false; }
};
}
