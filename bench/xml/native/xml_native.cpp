// The XML reader against wide pugixml natively (x86-64, 16-bit wchar_t), for instruction
// counts under callgrind, which hold whatever else the machine runs (xml_native.sh builds and runs it).
//   xml_native SHAPE READER [REPEAT]   SHAPE 0..3 (response, siblings, nesting, long text);
//                                      READER 0 the library, 1 wide pugixml; REPEAT 0: no read
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <XmlDoc.h>
#include <pugixml.hpp>
#include "../xml_documents.h"

namespace {
std::string make_doc(int shape) {
    switch (shape) {
    case 0: return catalogue(2 * (5 << 20));
    case 1: return siblings(2 * 100000);
    case 2: return nesting(2 * 5000);
    default: return big_value(2 * (5 << 19));
    }
}
} // namespace

// Kept apart so that callgrind can count these alone (--toggle-collect).
extern "C" __attribute__((noinline)) void* lib_parse(const unsigned short* text) {
    auto* doc = new CXMLDoc;
    doc->Parsing(text);
    return doc;
}
extern "C" __attribute__((noinline)) void lib_free(void* doc) { delete static_cast<CXMLDoc*>(doc); }
extern "C" __attribute__((noinline)) void* peer_parse(const wchar_t* text, size_t units) {
    auto* doc = new pugi::xml_document;
    doc->load_buffer(text, units * sizeof(wchar_t), pugi::parse_default, pugi::encoding_wchar);
    return doc;
}
extern "C" __attribute__((noinline)) void peer_free(void* doc) { delete static_cast<pugi::xml_document*>(doc); }

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const int shape = atoi(argv[1]), reader = atoi(argv[2]), repeat = argc > 3 ? atoi(argv[3]) : 1;
    const std::string doc = make_doc(shape);
    std::wstring wide(doc.size(), L'\0');
    for (size_t i = 0; i < doc.size(); ++i) wide[i] = static_cast<unsigned char>(doc[i]);
    for (int r = 0; r < repeat; ++r) {
        if (reader == 0) lib_free(lib_parse(reinterpret_cast<const unsigned short*>(wide.c_str())));
        else peer_free(peer_parse(wide.c_str(), wide.size()));
    }
    return 0;
}
