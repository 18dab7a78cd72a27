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
