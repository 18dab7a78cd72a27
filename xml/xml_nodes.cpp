// Shared texts and node handles of the XML model.
#include "xml_nodes.h"
#include <stdlib.h>
#include <string.h>
#include <new>
#include <vector>

namespace {

struct TextHeader {
    long count;
    size_t length;
};

TextHeader* header_of(unsigned short* text) { return reinterpret_cast<TextHeader*>(text) - 1; }

} // namespace

namespace xmltext {

unsigned short* make(const unsigned short* text, size_t length) {
    auto* h = static_cast<TextHeader*>(malloc(sizeof(TextHeader) + (length + 1) * sizeof(unsigned short)));
    if (!h) throw std::bad_alloc();
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

unsigned short* make(const wchar_t* text, size_t length) {
    return make(reinterpret_cast<const unsigned short*>(text), length);
}

unsigned short* share(unsigned short* text) {
    if (text) ++header_of(text)->count;
    return text;
}

void release(unsigned short* text) {
    if (text && --header_of(text)->count == 0) free(header_of(text));
}

size_t length(const unsigned short* text) {
    return text ? header_of(const_cast<unsigned short*>(text))->length : 0;
}

} // namespace xmltext

_xml_attr* XmlNodes::new_attr(unsigned short* name, unsigned short* value) {
    auto* a = new _xml_attr;
    a->name = name;
    a->value = value;
    a->m_nRefs = 1;
    return a;
}

_xml_element* XmlNodes::new_element(unsigned short* name, unsigned short* value) {
    auto* e = new _xml_element;
    e->name = name;
    e->value = value;
    e->m_nRefs = 1;
    return e;
}

void XmlNodes::release(_xml_attr* a) {
    if (--a->m_nRefs == 0) delete a;
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
        delete e;
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
