// The XML records: construction, copies, texts, adding and finding nodes.
#include <string.h>
#include <vector>
#include "xml_nodes.h"

namespace {

bool same(const unsigned short* a, const unsigned short* b) {
    if (!a || !b) return false;
    while (*a && *a == *b) ++a, ++b;
    return *a == *b;
}

void replace(unsigned short*& field, const unsigned short* text) {
    if (!text) return;   // refused: the record keeps its text
    unsigned short* copy = xmltext::make(text);
    xmltext::release(field);
    field = copy;
}

void share_text(unsigned short*& field, unsigned short* text) {
    if (field == text) return;
    xmltext::share(text);
    xmltext::release(field);
    field = text;
}

} // namespace

// ---- _xml_attr --------------------------------------------------------------------------------

_xml_attr::_xml_attr() : name(nullptr), value(nullptr), m_nRefs(0), m_pChunk(nullptr) {}
_xml_attr::_xml_attr(const unsigned short* n, const unsigned short* v)
    : name(xmltext::make(n)), value(xmltext::make(v)), m_nRefs(0), m_pChunk(nullptr) {}
_xml_attr::_xml_attr(const _xml_attr& o)
    : name(xmltext::share(o.name)), value(xmltext::share(o.value)), m_nRefs(0), m_pChunk(nullptr) {}

_xml_attr& _xml_attr::operator=(const _xml_attr& o) {
    share_text(name, o.name);
    share_text(value, o.value);
    return *this;
}

_xml_attr::~_xml_attr() {
    xmltext::release(name);
    xmltext::release(value);
}

void _xml_attr::SetName(const unsigned short* n) { replace(name, n); }
void _xml_attr::SetValue(const unsigned short* v) { replace(value, v); }

// ---- _xml_element -----------------------------------------------------------------------------

_xml_element::_xml_element() : name(nullptr), value(nullptr), m_nRefs(0), m_pChunk(nullptr) {}
_xml_element::_xml_element(const unsigned short* n, const unsigned short* v)
    : name(xmltext::make(n)), value(xmltext::make(v)), m_nRefs(0), m_pChunk(nullptr) {}

_xml_element::_xml_element(const _xml_element& o)
    : name(xmltext::share(o.name)), value(xmltext::share(o.value)), m_nRefs(0), m_pChunk(nullptr) {
    XmlNodes::share_list(attrs, o.attrs);
    XmlNodes::share_list(children, o.children);
}

_xml_element& _xml_element::operator=(const _xml_element& o) {
    if (this == &o) return *this;
    share_text(name, o.name);
    share_text(value, o.value);
    // Hold the new handles before dropping the old ones: o may be inside our own subtree.
    CArray<_xml_attr*, _xml_attr*> newAttrs;
    CArray<_xml_element*, _xml_element*> newChildren;
    XmlNodes::share_list(newAttrs, o.attrs);
    XmlNodes::share_list(newChildren, o.children);
    XmlNodes::release_list(attrs);
    XmlNodes::release_list(children);
    XmlNodes::share_list(attrs, newAttrs);
    XmlNodes::share_list(children, newChildren);
    XmlNodes::release_list(newAttrs);
    XmlNodes::release_list(newChildren);
    return *this;
}

_xml_element::~_xml_element() {
    xmltext::release(name);
    xmltext::release(value);
    XmlNodes::release_list(attrs);
    XmlNodes::release_list(children);
}

void _xml_element::SetName(const unsigned short* n) { replace(name, n); }
void _xml_element::SetValue(const unsigned short* v) { replace(value, v); }

_xml_attr* _xml_element::AddAttr(const unsigned short* n, const unsigned short* v) {
    if (!n || !v) return nullptr;
    _xml_attr* a = XmlNodes::new_attr(xmltext::make(n), xmltext::make(v));
    attrs.Add(a);
    return a;
}

_xml_element* _xml_element::AddElementChild(const unsigned short* n) {
    if (!n) return nullptr;
    _xml_element* e = XmlNodes::new_element(xmltext::make(n), nullptr);
    children.Add(e);
    return e;
}

_xml_element* _xml_element::FindChild(const unsigned short* n) {
    if (!n) return nullptr;
    // Depth-first, pre-order, with an explicit stack: children pushed in reverse order.
    std::vector<_xml_element*> work{this};
    while (!work.empty()) {
        _xml_element* e = work.back();
        work.pop_back();
        if (same(e->name, n)) return e;
        for (INT_PTR i = e->children.GetSize(); i-- > 0;) work.push_back(e->children[i]);
    }
    return nullptr;
}

const unsigned short* _xml_element::FindAttrValue(const unsigned short* n) {
    if (!n) return nullptr;
    for (INT_PTR i = 0; i < attrs.GetSize(); ++i)
        if (same(attrs[i]->name, n)) return attrs[i]->value;
    return nullptr;
}

// ---- CXMLDoc ----------------------------------------------------------------------------------

CXMLDoc::CXMLDoc() : m_bUTF8(false), m_dVersion(1.0), m_szDocType{} {}

CXMLDoc::CXMLDoc(const CXMLDoc& o) : m_bUTF8(o.m_bUTF8), m_dVersion(o.m_dVersion) {
    memcpy(m_szDocType, o.m_szDocType, sizeof(m_szDocType));
    XmlNodes::share_list(m_elements, o.m_elements);
}

CXMLDoc& CXMLDoc::operator=(const CXMLDoc& o) {
    if (this == &o) return *this;
    m_bUTF8 = o.m_bUTF8;
    m_dVersion = o.m_dVersion;
    memcpy(m_szDocType, o.m_szDocType, sizeof(m_szDocType));
    CArray<_xml_element*, _xml_element*> held;
    XmlNodes::share_list(held, o.m_elements);
    XmlNodes::release_list(m_elements);
    XmlNodes::share_list(m_elements, held);
    XmlNodes::release_list(held);
    return *this;
}

CXMLDoc::~CXMLDoc() { XmlNodes::release_list(m_elements); }

_xml_element* CXMLDoc::AddElement(const unsigned short* n) {
    if (!n) return nullptr;
    _xml_element* e = XmlNodes::new_element(xmltext::make(n), nullptr);
    m_elements.Add(e);
    return e;
}
