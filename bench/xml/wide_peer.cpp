// The wide-character pugixml peer (built with PUGIXML_WCHAR_MODE, see wide_peer.h).
#include "wide_peer.h"
#include <pugixml.hpp>

struct WidePeerDocument {
    pugi::xml_document doc;
};

WidePeerDocument* WidePeerLoad(const wchar_t* text, size_t units) {
    auto* d = new WidePeerDocument;
    if (!d->doc.load_buffer(text, units * sizeof(wchar_t), pugi::parse_default, pugi::encoding_wchar)) {
        delete d;
        return nullptr;
    }
    return d;
}

void WidePeerFree(WidePeerDocument* doc) { delete doc; }

namespace {

std::string narrow(const wchar_t* t) {
    std::string out;
    for (; t && *t; ++t) out += static_cast<char>(*t);
    return out;
}

// As the benchmark's shape of the UTF-8 pugixml tree.
std::string shape_of(const pugi::xml_node& e) {
    std::string out = narrow(e.name());
    for (pugi::xml_attribute a : e.attributes()) out += " " + narrow(a.name()) + "=" + narrow(a.value());
    pugi::xml_node first = e.first_child();
    const bool text = first && first.type() == pugi::node_pcdata && !first.next_sibling();
    if (text) out += "(" + narrow(first.value()) + ")";
    else if (!first) out += "()";
    out += "{";
    if (!text)
        for (pugi::xml_node c : e.children())
            if (c.type() == pugi::node_element) out += shape_of(c);
    return out + "}";
}

} // namespace

std::string WidePeerShape(const WidePeerDocument* doc) {
    std::string out;
    for (pugi::xml_node c : doc->doc.children())
        if (c.type() == pugi::node_element) out += shape_of(c);
    return out;
}
