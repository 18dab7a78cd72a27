// The reader: declaration, document type, tags, attributes, closing tags.
#include <gtest/gtest.h>
#include <string>
#include <test_paths.h>
#include "xml_test_util.h"

TEST(XmlReader, SampleResponse) {
    CXMLDoc doc;
    doc.m_dVersion = 9;
    ASSERT_TRUE(doc.Parsing(U(L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><resp><code>0</code><list><item id=\"7\">A</item></list></resp>")));
    EXPECT_EQ(1.0, doc.m_dVersion);
    EXPECT_TRUE(doc.m_bUTF8);
    ASSERT_EQ(1, doc.m_elements.GetSize());
    EXPECT_EQ(L"xml body", W(doc.m_elements[0]->name));
    EXPECT_EQ(L"resp{code(0) list{item[id=7](A)}}", Body(doc));
    _xml_element* item = doc.m_elements[0]->FindChild(U(L"item"));
    ASSERT_NE(nullptr, item);
    EXPECT_EQ(L"7", W(item->FindAttrValue(U(L"id"))));
}

TEST(XmlReader, DeclarationVariants) {
    struct Case { const wchar_t* text; double version; bool utf8; };
    const std::wstring longVersion = L"<?xml version=\"" + std::wstring(129, L'1') + L"\"?><a/>";
    const std::wstring maxVersion = L"<?xml version=\"" + std::wstring(127, L'0') + L"2\"?><a/>";
    const Case cases[] = {
        {L"<?xml version=\"1.0\" encoding=\"UTF-8\" ?><r></r>", 5.0, false},   // trailing space: rejected
        {L"<?xml version=\"2.5\" encoding=\"Utf-8\"?><r></r>", 2.5, false},
        {L"<?xml version=\"1.1\" encoding=\"utf-8\"?>", 1.1, true},
        {L"<?xml version=\" 3.5abc\"?>", 3.5, false},
        {L"<?xml version=\"abc\"?>", 0.0, false},
        {longVersion.c_str(), 0.0, false},
        {maxVersion.c_str(), 2.0, false},
        {L"<r>no declaration</r>", 5.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(wcslen(c.text) < 200 ? testing::PrintToString(std::wstring(c.text)) : "text of length " + std::to_string(wcslen(c.text)));
        CXMLDoc doc;
        doc.m_dVersion = 5.0;
        ASSERT_TRUE(doc.Parsing(U(c.text)));
        EXPECT_DOUBLE_EQ(c.version, doc.m_dVersion);
        EXPECT_EQ(c.utf8, doc.m_bUTF8);
    }
}

TEST(XmlReader, BodyShapesTable) {
    struct Case { const wchar_t* text; const wchar_t* body; };
    const Case cases[] = {
        {L"<a></a><b>x</b>", L"a() b(x)"},                              // empty element, sibling once
        {L"<br/>after<x>1</x>", L"br/ x(1)"},                           // no closing tag: siblings follow
        {L"<img src=\"p.png\" /><x>1</x>", L""},                       // space before "/": rejected, level ends
        {L"<img src=\"p.png\"/><x>1</x></img>", L"img[src=p.png]{x(1)}"},
        {L"<a t=\"x &amp; y\">A &amp; B</a>", L"a[t=x &amp; y](A &amp; B)"},
        {L"<a>1</a></stray><b>2</b>", L"a(1) b(2)"},
        {L"<a><b>1</b>text<c>2</c></a>", L"a{b(1) c(2)}"},
        {L"<a>  spaced\n</a>", L"a(  spaced\n)"},
        {L"<a\tb>1</a\tb>", L"a\tb(1)"},
        {L"<a k='v'>1</a><b>2</b>", L""},                               // single quotes: rejected
        {L"<a k=\"v\" j=x>1</a>", L""},                                  // a segment without quotes: rejected
        {L"<a k=\"1\" bad j=\"2\">z</a>", L"a[k=1,bad j=2](z)"},        // a name runs up to "=", spaces and all
        {L"<a><a>inner</a></a>", L"a{a(inner)}"},
        {L"<a><a>x</a>", L"a{a}"},                                       // start forms run out: the last end form closes the outer
        {L"<a>x</a></a>", L"a(x)"},
        {L"<a><b></a></b>", L"a{b}"},
        {L"<a id=\"1\"><a>in</a></a>", L"a[id=1]{a(in)}"},
        {L"<p>1</p><p>2</p><p>3</p>", L"p(1) p(2) p(3)"},
        {L"<a>unterminated", L"a"},
        {L"<", L""},
        {L"", L""},
        {L"<a attr=\"unclosed>x</a>", L""},
        {L"<x y=\"1\"z=\"2\">v</x>", L"x[y=1](v)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        CXMLDoc doc;
        ASSERT_TRUE(doc.Parsing(U(c.text)));
        EXPECT_EQ(c.body, Body(doc));
    }
}

TEST(XmlReader, DocumentTypeAndComments) {
    CXMLDoc doc;
    doc.Parsing(U(L"<?xml version=\"1.0\"?><!DOCTYPE resp><resp>1</resp>"));
    EXPECT_EQ(L"DOCTYPE resp", W(doc.m_szDocType));
    EXPECT_EQ(L"resp(1)", Body(doc));

    CXMLDoc comment;   // a comment after the declaration is taken as the document type
    comment.Parsing(U(L"<?xml version=\"1.0\"?><a>lost</a><!--note--><b>kept</b>"));
    EXPECT_EQ(L"--note--", W(comment.m_szDocType));
    EXPECT_EQ(L"b(kept)", Body(comment));

    CXMLDoc cdata;
    cdata.Parsing(U(L"<!DOCTYPE d><a><![CDATA[x]]></a>"));
    EXPECT_EQ(L"a{![CDATA[x]]}", Body(cdata));

    CXMLDoc longType;
    longType.Parsing(U((L"<!" + std::wstring(400, L'T') + L"><a>1</a>").c_str()));
    EXPECT_EQ(std::wstring(255, L'T'), W(longType.m_szDocType));
    EXPECT_EQ(L"a(1)", Body(longType));

    CXMLDoc noDecl;   // "?>" without "<?": the body starts after it
    noDecl.Parsing(U(L"<a>lost</a>?><b>1</b>"));
    EXPECT_EQ(L"b(1)", Body(noDecl));

    CXMLDoc twice;
    twice.Parsing(U(L"<a>1</a>"));
    twice.Parsing(U(L"<b>2</b>"));
    ASSERT_EQ(2, twice.m_elements.GetSize());
    EXPECT_EQ(L"b(2)", Body(twice));
}

TEST(XmlReader, EveryParsedRecordHasTextsOfItsOwn) {
    CXMLDoc doc;
    doc.Parsing(U(L"<list><item id=\"1\">one</item><item id=\"2\">two</item><item id=\"3\"/></list>"));
    _xml_element* list = doc.m_elements[0]->FindChild(U(L"list"));
    ASSERT_NE(nullptr, list);
    ASSERT_EQ(3, list->children.GetSize());
    // Texts edited in place through the public fields, as callers may.
    list->children[0]->name[0] = L'X';
    list->children[0]->attrs[0]->name[0] = L'Y';
    EXPECT_EQ(L"Xtem", W(list->children[0]->name));
    EXPECT_EQ(L"item", W(list->children[1]->name));
    EXPECT_EQ(L"item", W(list->children[2]->name));
    EXPECT_EQ(L"Yd", W(list->children[0]->attrs[0]->name));
    EXPECT_EQ(L"2", W(list->children[1]->FindAttrValue(U(L"id"))));
    EXPECT_EQ(L"3", W(list->children[2]->FindAttrValue(U(L"id"))));
    EXPECT_EQ(L"list{Xtem[Yd=1](one) item[id=2](two) item[id=3]}", Body(doc));
}

TEST(XmlReader, LongNamesAndDeepNesting) {
    const std::wstring name(1000, L'n');
    CXMLDoc doc;
    doc.Parsing(U((L"<" + name + L"><x>1</x></" + name + L">").c_str()));
    EXPECT_EQ(name + L"{x(1)}", Body(doc));

    const int depth = 100000;
    std::wstring deep;
    for (int i = 0; i < depth; ++i) deep += L"<d>";
    deep += L"leaf";
    for (int i = 0; i < depth; ++i) deep += L"</d>";
    CXMLDoc nested;
    nested.Parsing(U(deep.c_str()));
    const _xml_element* e = nested.m_elements[0];
    int levels = 0;
    while (e->children.GetSize()) {
        e = e->children[0];
        ++levels;
    }
    EXPECT_EQ(depth, levels);
    EXPECT_EQ(L"leaf", W(e->value));
    CString out = nested.OutXML();   // writing is not recursive either
    // "<xml body>\n", "</xml body>\n", "leaf\n", and "<d>\n" and "</d>\n" per level.
    EXPECT_EQ(11 + 12 + 5 + (4 + 5) * depth, out.GetLength());

    // Many names open at once, each element with attributes: every level is still its own.
    const int names = 70000;
    std::wstring distinct;
    for (int i = 0; i < names; ++i) distinct += L"<e" + std::to_wstring(i) + L" k=\"v\">";
    distinct += L"leaf";
    for (int i = names; i-- > 0;) distinct += L"</e" + std::to_wstring(i) + L">";
    CXMLDoc many;
    many.Parsing(U(distinct.c_str()));
    e = many.m_elements[0];
    for (levels = 0; e->children.GetSize() == 1; ++levels) {
        e = e->children[0];
        ASSERT_EQ(L"e" + std::to_wstring(levels), W(e->name));
        ASSERT_EQ(L"v", W(e->attrs[0]->value));
    }
    EXPECT_EQ(names, levels);
    EXPECT_EQ(L"leaf", W(e->value));
}

TEST(XmlReader, LoadFileEncodings) {
    const std::wstring folder = NewTempFolder(L"xml");
    auto write = [&](const wchar_t* name, const std::string& bytes) {
        std::wstring path = folder + L"\\" + name;
        FILE* f = _wfopen(path.c_str(), L"wb");
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
        return path;
    };
    struct Case { const wchar_t* file; std::string bytes; bool ok; const wchar_t* body; };
    const Case cases[] = {
        {L"plain.xml", "<a>caf\xc3\xa9</a>", true, L"a(caf\u00e9)"},
        {L"bom8.xml", "\xef\xbb\xbf<a>\xc3\xa9</a>", true, L"a(\u00e9)"},
        {L"bom16.xml", std::string("\xff\xfe<\0a\0>\0\xe9\0<\0/\0a\0>\0", 20), true, L"a(\u00e9)"},
        {L"bom16be.xml", std::string("\xfe\xff\0<\0a\0>", 8), true, L""},
        {L"three.xml", "<a>", false, nullptr},
        {L"empty.xml", "", false, nullptr},
        {L"invalid.xml", "<a>\xff\xfe\xfd</a>", true, L"a(\ufffd\ufffd\ufffd)"},
        {L"zero.xml", std::string("<a>1</a>\0<b>2</b>", 17), true, L"a(1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file)));
        CXMLDoc doc;
        std::wstring path = write(c.file, c.bytes);
        EXPECT_EQ(c.ok, doc.LoadFile(U(path.c_str())));
        if (c.ok) {
            EXPECT_EQ(c.body, Body(doc));
        } else {
            EXPECT_EQ(0, doc.m_elements.GetSize());
        }
    }
    // A file larger than the memory a 32-bit process can hold: refused by the result.
    const std::wstring huge = folder + L"\\huge.xml";
    HANDLE h = CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    LARGE_INTEGER size;
    size.QuadPart = 2000000000;   // sparse: nothing is written
    EXPECT_TRUE(SetFilePointerEx(h, size, nullptr, FILE_BEGIN) && SetEndOfFile(h));
    CloseHandle(h);
    CXMLDoc doc;
    EXPECT_NO_THROW(EXPECT_FALSE(doc.LoadFile(U(huge.c_str()))));
    EXPECT_EQ(0, doc.m_elements.GetSize());

    EXPECT_FALSE(doc.LoadFile(nullptr));
    EXPECT_FALSE(doc.LoadFile(U((folder + L"\\missing.xml").c_str())));
    RemoveTree(folder);
}
