// Pictures of parsed trees, for comparing them with the literal reading of the rules (also
// used by the native fuzz target, so nothing here needs more than the XML model).
#pragma once
#include <string>
#include <XmlDoc.h>
#include <text_cast.h>

// A compact picture of a subtree: name[attr=value,...](value){children}.
inline std::wstring Shape(const _xml_element* e) {
    std::wstring out = W(e->name);
    if (e->attrs.GetSize()) {
        out += L"[";
        for (INT_PTR i = 0; i < e->attrs.GetSize(); ++i)
            out += (i ? L"," : L"") + W(e->attrs[i]->name) + L"=" + W(e->attrs[i]->value);
        out += L"]";
    }
    if (e->value) out += L"(" + W(e->value) + L")";
    if (e->children.GetSize()) {
        out += L"{";
        for (INT_PTR i = 0; i < e->children.GetSize(); ++i) out += (i ? L" " : L"") + Shape(e->children[i]);
        out += L"}";
    }
    return out;
}

// The shape of the children of the last root of doc.
inline std::wstring Body(const CXMLDoc& doc) {
    const _xml_element* root = doc.m_elements[doc.m_elements.GetSize() - 1];
    std::wstring out;
    for (INT_PTR i = 0; i < root->children.GetSize(); ++i) out += (i ? L" " : L"") + Shape(root->children[i]);
    return out;
}
