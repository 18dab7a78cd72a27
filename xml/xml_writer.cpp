// The XML writer and entity decoding. Out of memory gives the empty text.
#include <string.h>
#include <vector>
#include "xml_nodes.h"

namespace {

const wchar_t* text(const unsigned short* s) { return s ? reinterpret_cast<const wchar_t*>(s) : L""; }

bool is_empty_tag(const unsigned short* name) {
    size_t n = xmltext::length(name);
    return n && name[n - 1] == L'/';
}

// name="value" pairs joined by single spaces.
void write_attrs(const _xml_element* e, CString& out) {
    for (INT_PTR i = 0; i < e->attrs.GetSize(); ++i) {
        if (i) out += L' ';
        out += text(e->attrs[i]->name);
        out += L"=\"";
        out += text(e->attrs[i]->value);
        out += L'"';
    }
}

// Appends e and its subtree to out without recursion: an element is visited once to open
// it, and again (child index past its last child) to close it.
void write(_xml_element* e, CString& out) {
    struct Visit {
        _xml_element* e;
        INT_PTR next;   // the next child to write
    };
    std::vector<Visit> stack{{e, -1}};
    while (!stack.empty()) {
        Visit& v = stack.back();
        _xml_element* el = v.e;
        if (v.next < 0) {
            out += L'<';
            out += text(el->name);
            if (el->attrs.GetSize()) {
                out += L' ';
                write_attrs(el, out);
            }
            out += L">\n";
            if (el->value && el->value[0]) {
                out += text(el->value);
                out += L'\n';
            }
            v.next = 0;
        }
        if (v.next < el->children.GetSize()) {
            _xml_element* child = el->children[v.next++];
            stack.push_back({child, -1});   // v is not used after this
            continue;
        }
        if (!is_empty_tag(el->name)) {
            out += L"</";
            out += text(el->name);
            out += L">\n";
        }
        stack.pop_back();
    }
}

} // namespace

// The text that fill writes, or the empty text when memory runs out.
template <class Fill>
CString written(Fill fill) {
    try {
        CString out;
        fill(out);
        return out;
    } catch (...) {
        return CString();
    }
}

CString _xml_element::_OutAttr() {
    return written([this](CString& out) { write_attrs(this, out); });
}

CString _xml_element::OutXML() {
    return written([this](CString& out) { write(this, out); });
}

CString CXMLDoc::OutXML() {
    return written([this](CString& out) {
        for (INT_PTR i = 0; i < m_elements.GetSize(); ++i) write(m_elements[i], out);
    });
}

CString CXMLDoc::EscapeEncode(const unsigned short* input) try {
    if (!input) return CString();
    struct Entity { const wchar_t* ref; size_t len; wchar_t ch; };
    static const Entity kEntities[] = {
        {L"&amp;", 5, L'&'}, {L"&lt;", 4, L'<'}, {L"&gt;", 4, L'>'}, {L"&quot;", 6, L'"'}, {L"&apos;", 6, L'\''},
    };
    const wchar_t* p = text(input);
    CString out;
    const wchar_t* run = p;   // start of the text not yet copied
    while (*p) {
        if (*p == L'&') {
            for (const Entity& e : kEntities) {
                if (wcsncmp(p, e.ref, e.len) == 0) {
                    out += CString(run, static_cast<int>(p - run));
                    out += e.ch;
                    p += e.len;
                    run = p;
                    goto next;
                }
            }
        }
        ++p;
    next:;
    }
    out += run;
    return out;
} catch (...) {
    return CString();
}
