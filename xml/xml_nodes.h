// Shared texts and node handles of the XML model.
//
// A shared text is a block {count, length} followed by the zero-terminated units; the
// records point at the units. A node in a list carries the number of list handles held
// on it; the last release deletes it. Releasing a subtree never recurses, so trees of any
// depth are released on a small stack.
#pragma once
#include <stddef.h>
#include "XmlDoc.h"

namespace xmltext {
unsigned short* make(const unsigned short* text, size_t length);   // a new text (count 1)
unsigned short* make(const unsigned short* text);                  // null stays null
unsigned short* make(const wchar_t* text, size_t length);
unsigned short* share(unsigned short* text);                       // one more holder
void release(unsigned short* text);                                // null is fine
size_t length(const unsigned short* text);                         // 0 for null
}

struct XmlNodes {
    static _xml_attr* new_attr(unsigned short* name, unsigned short* value);     // takes both texts
    static _xml_element* new_element(unsigned short* name, unsigned short* value);
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
