// The sample response document of the tour.
#include "sample_xml.h"
#include <stdio.h>
#include <Corelink.h>
#include <host_driver.h>

namespace {
const unsigned short* U(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }
std::string text(const unsigned short* s) { return s ? ToUtf8(reinterpret_cast<const wchar_t*>(s)) : "(none)"; }
}

std::string SampleXmlReport(const std::wstring& path) {
    const char document[] =
        "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<response><code>0</code><products count=\"2\">"
        "<product id=\"17\" name=\"Ringtone pack\"><price>1.99</price></product>"
        "<product id=\"42\" name=\"Caf\xc3\xa9 theme\"><price>0.99</price></product>"
        "</products></response>";
    FILE* f = _wfopen(path.c_str(), L"wb");
    if (!f) return std::string();
    fputs(document, f);
    fclose(f);

    CXMLDoc doc;
    if (!doc.LoadFile(U(path.c_str()))) return std::string();
    _xml_element* root = doc.m_elements[0];
    std::string out = "loaded " + ToUtf8(path) + ": version " + std::to_string(doc.m_dVersion).substr(0, 3) +
                      ", UTF-8 " + (doc.m_bUTF8 ? "yes" : "no");
    out += "|code = " + text(root->FindChild(U(L"code"))->value);
    _xml_element* products = root->FindChild(U(L"products"));
    out += "|products count = " + text(products->FindAttrValue(U(L"count")));
    for (INT_PTR i = 0; i < products->children.GetSize(); ++i) {
        _xml_element* p = products->children[i];
        out += "|product id " + text(p->FindAttrValue(U(L"id"))) + ": " + text(p->FindAttrValue(U(L"name"))) +
               ", price " + text(p->FindChild(U(L"price"))->value);
    }
    out += "|written back out:";
    std::string written = ToUtf8(doc.OutXML().GetString());
    for (size_t start = 0; start < written.size();) {
        size_t nl = written.find('\n', start);
        out += "|  " + written.substr(start, nl - start);
        start = nl + 1;
    }
    return out;
}
