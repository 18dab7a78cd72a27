// The XML records: construction, copies, texts, adding and finding nodes.
//
// Every exported operation here catches a failed allocation and fails by its result: a
// constructor leaves the texts it could not copy null, an assignment or a SetName /
// SetValue leaves the record as it was, an adder returns null.
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
    try {
        unsigned short* copy = xmltext::make(text);
        xmltext::release(field);
        field = copy;
    } catch (...) {
    }
}

void share_text(unsigned short*& field, unsigned short* text) {
    if (field == text) return;
    xmltext::share(text);
    xmltext::release(field);
    field = text;
}

// Copies of both texts into name and value (null stays null); both null when either
// cannot be made.
void copy_texts(unsigned short*& name, unsigned short*& value, const unsigned short* n, const unsigned short* v) {
    try {
        name = xmltext::make(n);
        value = xmltext::make(v);
    } catch (...) {
        xmltext::release(name);
        name = value = nullptr;
    }
}

} // namespace

// Records made through these constructors hold one handle, like the library's own: a
// record the caller adds to a list belongs to that list from then on.

// ---- _xml_attr --------------------------------------------------------------------------------

_xml_attr::_xml_attr() : name(nullptr), value(nullptr), m_nRefs(1), m_pChunk(nullptr) {}
_xml_attr::_xml_attr(const unsigned short* n, const unsigned short* v)
    : name(nullptr), value(nullptr), m_nRefs(1), m_pChunk(nullptr) {
    copy_texts(name, value, n, v);
}
_xml_attr::_xml_attr(const _xml_attr& o)
    : name(xmltext::share(o.name)), value(xmltext::share(o.value)), m_nRefs(1), m_pChunk(nullptr) {}

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

_xml_element::_xml_element() : name(nullptr), value(nullptr), m_nRefs(1), m_pChunk(nullptr) {}
_xml_element::_xml_element(const unsigned short* n, const unsigned short* v)
    : name(nullptr), value(nullptr), m_nRefs(1), m_pChunk(nullptr) {
    copy_texts(name, value, n, v);
}

// A copy whose lists cannot be made has none.
_xml_element::_xml_element(const _xml_element& o)
    : name(xmltext::share(o.name)), value(xmltext::share(o.value)), m_nRefs(1), m_pChunk(nullptr) {
    try {
        XmlNodes::share_list(attrs, o.attrs);
        XmlNodes::share_list(children, o.children);
    } catch (...) {
        XmlNodes::release_list(attrs);
        XmlNodes::release_list(children);
    }
}

_xml_element& _xml_element::operator=(const _xml_element& o) {
    if (this == &o) return *this;
    try {
        XmlNodes::Reassign<_xml_attr> newAttrs(attrs, o.attrs);
        XmlNodes::Reassign<_xml_element> newChildren(children, o.children);
        // Nothing below fails. The texts first: o may be freed with our old children.
        share_text(name, o.name);
        share_text(value, o.value);
        newAttrs.commit();
        newChildren.commit();
    } catch (...) {
    }
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
    try {
        unsigned short* name = xmltext::make(n);
        unsigned short* value;
        try {
            value = xmltext::make(v);
        } catch (...) {
            xmltext::release(name);
            throw;
        }
        return XmlNodes::append(attrs, XmlNodes::new_attr(name, value));
    } catch (...) {
        return nullptr;
    }
}

namespace {
_xml_element* add_named(CArray<_xml_element*, _xml_element*>& list, const unsigned short* name) {
    if (!name) return nullptr;
    try {
        return XmlNodes::append(list, XmlNodes::new_element(xmltext::make(name), nullptr));
    } catch (...) {
        return nullptr;
    }
}
} // namespace

_xml_element* _xml_element::AddElementChild(const unsigned short* n) { return add_named(children, n); }

// Null also when the search stack cannot be made.
_xml_element* _xml_element::FindChild(const unsigned short* n) {
    if (!n) return nullptr;
    try {
        // Depth-first, pre-order, with an explicit stack: children pushed in reverse order.
        std::vector<_xml_element*> work{this};
        while (!work.empty()) {
            _xml_element* e = work.back();
            work.pop_back();
            if (same(e->name, n)) return e;
            for (INT_PTR i = e->children.GetSize(); i-- > 0;) work.push_back(e->children[i]);
        }
    } catch (...) {
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

// A copy whose element list cannot be made has none.
CXMLDoc::CXMLDoc(const CXMLDoc& o) : m_bUTF8(o.m_bUTF8), m_dVersion(o.m_dVersion) {
    memcpy(m_szDocType, o.m_szDocType, sizeof(m_szDocType));
    try {
        XmlNodes::share_list(m_elements, o.m_elements);
    } catch (...) {
        XmlNodes::release_list(m_elements);
    }
}

CXMLDoc& CXMLDoc::operator=(const CXMLDoc& o) {
    if (this == &o) return *this;
    try {
        XmlNodes::Reassign<_xml_element> elements(m_elements, o.m_elements);
        m_bUTF8 = o.m_bUTF8;
        m_dVersion = o.m_dVersion;
        memcpy(m_szDocType, o.m_szDocType, sizeof(m_szDocType));
        elements.commit();
    } catch (...) {
    }
    return *this;
}

CXMLDoc::~CXMLDoc() { XmlNodes::release_list(m_elements); }

_xml_element* CXMLDoc::AddElement(const unsigned short* n) { return add_named(m_elements, n); }
