// XML benchmark: the library's reader against pugixml and tinyxml2 on the same documents,
// in one process. Prints MB/s per parser and document, how the reader's time grows when a
// document doubles, whether its trees agree with pugixml's, and last the speed ratio to
// tinyxml2 on the 10 MB document.
#include <windows.h>
#include <stdio.h>
#include <functional>
#include <string>
#include <vector>
#include <pugixml.hpp>
#include <tinyxml2.h>
#include <XmlDoc.h>

namespace {

double now_ms() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double best_ms(int runs, const std::function<void()>& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        double t0 = now_ms();
        f();
        best = std::min(best, now_ms() - t0);
    }
    return best;
}

// Documents within the reader's language: no entities, no text between tags, attributes
// in double quotes separated by single spaces.
std::string catalogue(size_t bytes) {
    std::string s = "<response><code>0</code><lists>";
    for (int list = 0; s.size() < bytes; ++list) {
        s += "<list name=\"list" + std::to_string(list) + "\" kind=\"photo\">";
        for (int i = 0; i < 20; ++i)
            s += "<item id=\"" + std::to_string(list * 100 + i) + "\" size=\"4096\"><title>Picture " + std::to_string(i) +
                 "</title><album>Summer holiday</album><keywords>sun sea beach</keywords></item>";
        s += "</list>";
    }
    return s + "</lists></response>";
}

std::string siblings(int n) {
    std::string s = "<root>";
    for (int i = 0; i < n; ++i) s += "<item id=\"" + std::to_string(i) + "\">value</item>";
    return s + "</root>";
}

std::string nesting(int depth) {
    std::string s;
    for (int i = 0; i < depth; ++i) s += "<level>";
    s += "deepest";
    for (int i = 0; i < depth; ++i) s += "</level>";
    return s;
}

std::string big_value(size_t bytes) { return "<doc><text>" + std::string(bytes, 'x') + "</text></doc>"; }

std::wstring widen(const std::string& s) { return std::wstring(s.begin(), s.end()); }

// The tree as one text: name[attrs](value){children}, for comparing readers.
std::string shape_of(const _xml_element* e) {
    auto n = [](const unsigned short* t) {
        std::string out;
        for (; t && *t; ++t) out += static_cast<char>(*t);
        return out;
    };
    std::string out = n(e->name);
    for (INT_PTR i = 0; i < e->attrs.GetSize(); ++i) out += " " + n(e->attrs[i]->name) + "=" + n(e->attrs[i]->value);
    if (e->value) out += "(" + n(e->value) + ")";
    out += "{";
    for (INT_PTR i = 0; i < e->children.GetSize(); ++i) out += shape_of(e->children[i]);
    return out + "}";
}

std::string shape_of(const pugi::xml_node& e) {
    std::string out = e.name();
    for (pugi::xml_attribute a : e.attributes()) out += std::string(" ") + a.name() + "=" + a.value();
    pugi::xml_node first = e.first_child();
    bool text = first && first.type() == pugi::node_pcdata && !first.next_sibling();
    bool empty = !first;
    if (text) out += std::string("(") + first.value() + ")";
    else if (empty) out += "()";
    out += "{";
    if (!text)
        for (pugi::xml_node c : e.children())
            if (c.type() == pugi::node_element) out += shape_of(c);
    return out + "}";
}

struct Doc {
    const char* name;
    std::string small, full;   // half and whole size
};

} // namespace

int wmain() {
    const std::vector<Doc> docs = {
        {"10 MB catalogue response", catalogue(5 << 20), catalogue(10 << 20)},
        {"200,000 siblings", siblings(100000), siblings(200000)},
        {"10,000 levels of nesting", nesting(5000), nesting(10000)},
        {"one 5 MB text value", big_value(5 << 19), big_value(5 << 20)},
    };
    double ratioTiny10 = 0;
    bool allAgree = true, allLinear = true;
    for (const Doc& d : docs) {
        const double mb = static_cast<double>(d.full.size()) / (1 << 20);
        const std::wstring wide = widen(d.full), wideSmall = widen(d.small);
        const int runs = 3;
        double ours = best_ms(runs, [&] { CXMLDoc doc; doc.Parsing(reinterpret_cast<const unsigned short*>(wide.c_str())); });
        double oursHalf = best_ms(runs, [&] { CXMLDoc doc; doc.Parsing(reinterpret_cast<const unsigned short*>(wideSmall.c_str())); });
        double pugi = best_ms(runs, [&] { pugi::xml_document doc; doc.load_buffer(d.full.data(), d.full.size()); });
        double tiny = best_ms(runs, [&] { tinyxml2::XMLDocument doc; doc.Parse(d.full.data(), d.full.size()); });

        CXMLDoc ourDoc;
        ourDoc.Parsing(reinterpret_cast<const unsigned short*>(wide.c_str()));
        pugi::xml_document pugiDoc;
        pugiDoc.load_buffer(d.full.data(), d.full.size());
        std::string mine, theirs;
        for (INT_PTR i = 0; i < ourDoc.m_elements[0]->children.GetSize(); ++i) mine += shape_of(ourDoc.m_elements[0]->children[i]);
        for (pugi::xml_node c : pugiDoc.children())
            if (c.type() == pugi::node_element) theirs += shape_of(c);
        const bool agree = mine == theirs;
        allAgree = allAgree && agree;
        const double growth = ours / oursHalf;
        allLinear = allLinear && growth <= 2.5;

        printf("%-26s %6.1f MB | Corelink %7.1f MB/s | pugixml %7.1f MB/s | tinyxml2 %7.1f MB/s\n", d.name, mb, mb / ours * 1000,
               mb / pugi * 1000, mb / tiny * 1000);
        printf("%-26s time ratio to pugixml %.2f, to tinyxml2 %.2f; doubling the input: %.2fx the time; same tree as pugixml: %s\n",
               "", ours / pugi, ours / tiny, growth, agree ? "yes" : "NO");
        fflush(stdout);
        if (&d == &docs[0]) ratioTiny10 = ours / tiny;
    }
    printf("all trees agree with pugixml: %s; every shape grows at most 2.5x when doubled: %s\n", allAgree ? "yes" : "NO",
           allLinear ? "yes" : "NO");
    printf("time ratio Corelink / tinyxml2 on the 10 MB document: %.2f\n", ratioTiny10);
    return 0;
}
