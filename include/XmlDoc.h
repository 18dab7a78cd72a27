// A small XML document model: elements with attributes and children, a tolerant reader
// (substring scanning, raw text, no entity decoding) and a writer.
//
// Texts are UTF-16, zero-terminated. Copies of records share nodes and texts: the
// attribute and element copies and the document copy hold the same texts and nodes as
// their source, so a change inside a shared node is seen through both, while SetName /
// SetValue on one record give only that record a new text. Shared texts and nodes are
// reference-counted: whichever of source and copy is destroyed last releases them.
// Handles returned by the add and find operations are borrowed from their owner.
//
// Records made with new and these constructors may be added to a list (attrs, children,
// m_elements) by hand: the list then owns the record as it owns the ones the add
// operations make, and frees it when its last holder lets go; never delete it after that.
// The records carry their own allocation functions, so a record made with new comes from
// the model's heap whatever runtime or operator new the host has. A record made on the stack
// must not be added to a list.
//
// No operation throws. Out of memory fails an operation by its result: null from the add
// and find operations and the text utilities, false from LoadFile and Parsing, the empty
// text from the writer; a constructor leaves null what it could not copy, and an
// assignment, SetName or SetValue that cannot be done leaves the record as it was.
#pragma once
#include <stddef.h>
#include <new>
#include <afxstr.h>
#include <afxtempl.h>
#include "CorelinkApi.h"
#include "CorelinkLayout.h"

class CORELINK_API _xml_attr {
public:
    _xml_attr();
    // Copies of both texts; a null text stays null.
    _xml_attr(const unsigned short* name, const unsigned short* value);
    _xml_attr(const _xml_attr& other);
    _xml_attr& operator=(const _xml_attr& other);
    ~_xml_attr();

    // Replace the text with a copy; a null argument is refused (nothing changes).
    void SetName(const unsigned short* name);
    void SetValue(const unsigned short* value);

    // From the model's heap, where a list frees what it owns; null when out of memory.
    static void* operator new(size_t bytes) noexcept;
    static void* operator new(size_t bytes, const std::nothrow_t&) noexcept;
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void* record) noexcept;
    static void operator delete(void*, void*) noexcept {}

    unsigned short* name;
    unsigned short* value;

private:
    friend struct XmlNodes;
    long m_nRefs;       // handles held on this record: 1 from its making, 1 more per extra list
    void* m_pChunk;     // the reader's memory chunk that holds this record, or null
};

class CORELINK_API _xml_element {
public:
    _xml_element();   // no name, no value, no attributes, no children
    // Copies of both texts; a null text stays null. Empty lists.
    _xml_element(const unsigned short* name, const unsigned short* value);
    // Copies share the texts and the records of the lists (each list is the copy's own).
    _xml_element(const _xml_element& other);
    _xml_element& operator=(const _xml_element& other);
    ~_xml_element();   // releases its handles without recursion, however deep the tree

    void SetName(const unsigned short* name);
    void SetValue(const unsigned short* value);

    // Appends a new attribute / child and returns it (borrowed); null for a null name
    // (or value).
    _xml_attr* AddAttr(const unsigned short* name, const unsigned short* value);
    _xml_element* AddElementChild(const unsigned short* name);

    // This element when it has the name, else the first match depth-first in pre-order.
    _xml_element* FindChild(const unsigned short* name);
    // The value of the first attribute of that name, or null.
    const unsigned short* FindAttrValue(const unsigned short* name);

    // The element and its subtree as XML text, one tag or value per line.
    CString OutXML();

    // From the model's heap, where a list frees what it owns; null when out of memory.
    static void* operator new(size_t bytes) noexcept;
    static void* operator new(size_t bytes, const std::nothrow_t&) noexcept;
    static void* operator new(size_t, void* where) noexcept { return where; }
    static void operator delete(void* record) noexcept;
    static void operator delete(void*, void*) noexcept {}

    unsigned short* name;
    unsigned short* value;
    CArray<_xml_attr*, _xml_attr*> attrs;
    CArray<_xml_element*, _xml_element*> children;

protected:
    CString _OutAttr();   // name="value" pairs joined by single spaces

private:
    friend struct XmlNodes;
    long m_nRefs;
    void* m_pChunk;
};

class CORELINK_API CXMLDoc {
public:
    CXMLDoc();
    CXMLDoc(const CXMLDoc& other);
    CXMLDoc& operator=(const CXMLDoc& other);
    virtual ~CXMLDoc();

    _xml_element* AddElement(const unsigned short* name);   // null for a null name

    // Reads a file (UTF-16 LE with its mark, or UTF-8 with or without one). False for a
    // null path, a file that cannot be opened and a file of fewer than 4 bytes.
    bool LoadFile(const unsigned short* path);
    // Reads the declaration, the document type and the body into a new root element named
    // "xml body". True for any text; false only for null.
    bool Parsing(const unsigned short* text);

    CString OutXML();
    // The text with the five predefined entity references replaced, in one pass.
    CString EscapeEncode(const unsigned short* text);

    bool m_bUTF8;
    double m_dVersion;
    unsigned short m_szDocType[256];   // at most 255 units: a longer text is cut
    CArray<_xml_element*, _xml_element*> m_elements;

protected:
    // Text utilities. Returned texts are released with _free_buf.
    // length < 0: the rest of text; 0: the empty text; null text: null.
    static unsigned short* _alloc_buf(const unsigned short* text, int length);
    // What lies between the first `open` and the first `close` after it; next is set to
    // the character after `close`. Null, next unchanged, when either is missing.
    static unsigned short* _alloc_find(const unsigned short* text, const unsigned short* open,
                                       const unsigned short* close, const unsigned short** next);
    static unsigned short* _alloc_end_tag(const unsigned short* name);   // "</name>"
    static void _free_buf(unsigned short* text);
};

// The layout hosts compile against (see CorelinkLayout.h).
CORELINK_CHECK_SIZE(_xml_attr, 16);
CORELINK_CHECK_OFFSET(_xml_attr, name, 0);
CORELINK_CHECK_OFFSET(_xml_attr, value, 4);
CORELINK_CHECK_SIZE(_xml_element, 48);
CORELINK_CHECK_OFFSET(_xml_element, name, 0);
CORELINK_CHECK_OFFSET(_xml_element, value, 4);
CORELINK_CHECK_OFFSET(_xml_element, attrs, 8);
CORELINK_CHECK_OFFSET(_xml_element, children, 24);
CORELINK_CHECK_SIZE(CXMLDoc, 544);
CORELINK_CHECK_OFFSET(CXMLDoc, m_bUTF8, 4);
CORELINK_CHECK_OFFSET(CXMLDoc, m_dVersion, 8);
CORELINK_CHECK_OFFSET(CXMLDoc, m_szDocType, 16);
CORELINK_CHECK_OFFSET(CXMLDoc, m_elements, 528);
