// The writer and entity decoding.
#include <gtest/gtest.h>
#include "xml_test_util.h"

TEST(XmlWriter, SixLineExampleAndEmptyForms) {
    CXMLDoc doc;
    _xml_element* a = doc.AddElement(U(L"a"));
    a->AddAttr(U(L"x"), U(L"1"));
    a->AddAttr(U(L"y"), U(L"2"));
    a->SetValue(U(L"hi"));
    a->AddElementChild(U(L"b"))->SetValue(U(L"2"));
    EXPECT_STREQ(L"<a x=\"1\" y=\"2\">\nhi\n<b>\n2\n</b>\n</a>\n", a->OutXML().GetString());

    _xml_element* plain = doc.AddElement(U(L"plain"));
    EXPECT_STREQ(L"<plain>\n</plain>\n", plain->OutXML().GetString());
    _xml_element* br = doc.AddElement(U(L"br/"));
    EXPECT_STREQ(L"<br/>\n", br->OutXML().GetString());
    _xml_element* emptyValue = doc.AddElement(U(L"e"));
    emptyValue->SetValue(U(L""));
    EXPECT_STREQ(L"<e>\n</e>\n", emptyValue->OutXML().GetString());
    _xml_element* raw = doc.AddElement(U(L"r"));
    raw->SetValue(U(L"a<b&\"c"));
    EXPECT_STREQ(L"<r>\na<b&\"c\n</r>\n", raw->OutXML().GetString());
    EXPECT_EQ(a->OutXML() + plain->OutXML() + br->OutXML() + emptyValue->OutXML() + raw->OutXML(), doc.OutXML());

    _xml_element nameless;   // no name: written as an empty one
    EXPECT_STREQ(L"<>\n</>\n", nameless.OutXML().GetString());
}

TEST(XmlWriter, ParsedDocumentWritesItsRoot) {
    CXMLDoc doc;
    doc.Parsing(U(L"<?xml version=\"1.0\"?><r k=\"v\"><c>1</c></r>"));
    EXPECT_STREQ(L"<xml body>\n<r k=\"v\">\n<c>\n1\n</c>\n</r>\n</xml body>\n", doc.OutXML().GetString());
}

// What was parsed reads back when the root's children are written rather than the document:
// the same elements and attributes, each value with a line feed added on either side (the
// writer puts a value on a line of its own). A value beside children does not come back.
TEST(XmlWriter, TheRootsChildrenWrittenReadBack) {
    CXMLDoc doc;
    ASSERT_TRUE(doc.Parsing(U(L"<?xml version=\"1.0\"?><r k=\"v\"><c>1</c><d/><e x=\"2\" y=\"\"></e></r>")));
    ASSERT_EQ(1, doc.m_elements.GetSize());
    _xml_element* body = doc.m_elements[0];
    CString text;
    for (INT_PTR i = 0; i < body->children.GetSize(); ++i) text += body->children[i]->OutXML();
    EXPECT_STREQ(L"<r k=\"v\">\n<c>\n1\n</c>\n<d/>\n<e x=\"2\" y=\"\">\n</e>\n</r>\n", text.GetString());

    CXMLDoc again;
    ASSERT_TRUE(again.Parsing(U(text.GetString())));
    ASSERT_EQ(1, again.m_elements.GetSize());
    _xml_element* r = again.m_elements[0]->FindChild(U(L"r"));
    ASSERT_NE(nullptr, r);
    ASSERT_EQ(3, r->children.GetSize());
    EXPECT_EQ(L"v", W(r->FindAttrValue(U(L"k"))));
    EXPECT_EQ(L"c", W(r->children[0]->name));
    EXPECT_EQ(L"\n1\n", W(r->children[0]->value));
    EXPECT_EQ(L"d/", W(r->children[1]->name));
    EXPECT_EQ(L"2", W(r->children[2]->FindAttrValue(U(L"x"))));
    EXPECT_EQ(L"", W(r->children[2]->FindAttrValue(U(L"y"))));
}

TEST(XmlWriter, EscapeEncodeIsOnePass) {
    struct Case { const wchar_t* in; const wchar_t* out; };
    const Case cases[] = {
        {L"&lt;b&gt;", L"<b>"},
        {L"&amp;lt;", L"&lt;"},
        {L"&quot;&apos;&amp;", L"\"'&"},
        {L"&#60; &AMP; &unknown; &", L"&#60; &AMP; &unknown; &"},
        {L"plain", L"plain"},
        {L"", L""},
        {L"a&amp", L"a&amp"},
    };
    CXMLDoc doc;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.in)));
        EXPECT_STREQ(c.out, doc.EscapeEncode(U(c.in)).GetString());
    }
}
