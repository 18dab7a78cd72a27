// The XML reader on arbitrary UTF-16 text: the tree must be the one the literal reading of
// the rules gives (tests/xml/xml_reference.h), and what the writer makes of it must read
// back as the rules read that text.
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include "xml_reference.h"
#include "xml_shape.h"

namespace {

// The reference copies at every level: it judges small texts only.
const size_t kReferenceLimit = 2000;

// The reference narrows the version text unit by unit, the reader through the ANSI code
// page: they agree on ASCII only, so the version is compared when the declaration is ASCII
// (as the reference takes it: "<?" to the first "?>", or to the end when that "?>" overlaps).
bool ascii_declaration(const std::wstring& text) {
    const size_t open = text.find(L"<?"), close = text.find(L"?>");
    const size_t npos = std::wstring::npos;
    const size_t end = open != npos && close != npos && close < open + 2 ? text.size() : std::min(close, text.size());
    for (size_t i = 0; i < end; ++i)
        if (static_cast<unsigned short>(text[i]) >= 0x80) return false;
    return true;
}

void expect(bool ok, const char* what) {
    if (ok) return;
    fprintf(stderr, "xml reader and the reference differ: %s\n", what);
    abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring text(size / 2, L'\0');
    memcpy(&text[0], data, size / 2 * 2);
    text.resize(wcsnlen(text.c_str(), text.size()));   // the reader takes a terminated text

    CXMLDoc doc;
    if (!doc.Parsing(U(text))) return 0;
    if (text.size() < kReferenceLimit) {
        const RefResult want = ReferenceParse(text);
        expect(want.body == Body(doc), "body");
        expect(want.docType == W(doc.m_szDocType), "document type");
        expect(want.utf8 == doc.m_bUTF8, "encoding");
        if (ascii_declaration(text))
            expect(want.version == doc.m_dVersion || (want.version != want.version && doc.m_dVersion != doc.m_dVersion),
                   "version");
    }
    const std::wstring out = reinterpret_cast<const wchar_t*>(doc.OutXML().GetString());
    CXMLDoc again;
    expect(again.Parsing(U(out)), "written text reads back");
    if (out.size() < kReferenceLimit) expect(ReferenceParse(out).body == Body(again), "written text's body");
    CXMLDoc copy(doc);
    expect(Body(copy) == Body(doc), "copy");
    return 0;
}
