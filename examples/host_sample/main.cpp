// A minimal host of the suite: loads Corelink through its import library, reads the shared
// product name and its own built-in title, parses a small XML response and converts one of
// its texts to UTF-8.
#include <windows.h>
#include <stdio.h>
#include <Corelink.h>

static const unsigned short* u(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

int wmain() {
    // Start-up filled the shared product name when the DLL was mapped.
    char product[256] = {};
    WCSToMBS(g_szProductName, product, sizeof product, true);
    printf("product: %s\n", product);

    // The built-in English resources (Corelink::EnglishResources) carry the application title.
    wchar_t title[128] = {};
    LoadStringW(GetModuleHandleW(nullptr), 0xE000, title, 128);
    printf("title: %ls\n", title);

    CXMLDoc doc;
    doc.Parsing(u(L"<?xml version=\"1.0\"?><reply><item id=\"7\">Caf\u00e9 tune</item></reply>"));
    _xml_element* item = doc.m_elements.GetSize() ? doc.m_elements[0]->FindChild(u(L"item")) : nullptr;
    if (!item || !item->value) {
        printf("no item in the reply\n");
        return 1;
    }
    char utf8[64] = {};
    WCSToMBS(item->value, utf8, sizeof utf8, true);
    const unsigned short* id = item->FindAttrValue(u(L"id"));
    printf("item %ls: %s (%d UTF-8 bytes)\n", id ? reinterpret_cast<const wchar_t*>(id) : L"?", utf8,
           static_cast<int>(strlen(utf8)));
    return 0;
}
