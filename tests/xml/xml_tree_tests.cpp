// The element tree: adding, finding, copies that share nodes and texts.
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>
#include "xml_test_util.h"

TEST(XmlTree, NewDocumentAndAdding) {
    CXMLDoc doc;
    EXPECT_EQ(1.0, doc.m_dVersion);
    EXPECT_FALSE(doc.m_bUTF8);
    EXPECT_EQ(0, doc.m_szDocType[0]);
    EXPECT_EQ(0, doc.m_elements.GetSize());
    EXPECT_TRUE(doc.OutXML().IsEmpty());

    wchar_t name[] = L"root";
    _xml_element* root = doc.AddElement(U(name));
    name[0] = L'X';   // the node keeps its own copy
    EXPECT_EQ(L"root", W(root->name));
    _xml_attr* first = root->AddAttr(U(L"id"), U(L"1"));
    root->AddAttr(U(L"id"), U(L"2"));
    root->AddAttr(U(L"empty"), U(L""));
    EXPECT_EQ(3, root->attrs.GetSize());
    EXPECT_EQ(first->value, root->FindAttrValue(U(L"id")));
    EXPECT_EQ(L"", W(root->FindAttrValue(U(L"empty"))));
    EXPECT_EQ(nullptr, root->FindAttrValue(U(L"ID")));
    root->SetValue(U(L"old"));
    root->SetValue(U(L"new"));
    EXPECT_EQ(L"new", W(root->value));

    // Null arguments are refused without harm.
    EXPECT_EQ(nullptr, doc.AddElement(nullptr));
    EXPECT_EQ(nullptr, root->AddElementChild(nullptr));
    EXPECT_EQ(nullptr, root->AddAttr(nullptr, U(L"v")));
    EXPECT_EQ(nullptr, root->AddAttr(U(L"n"), nullptr));
    EXPECT_EQ(nullptr, root->FindAttrValue(nullptr));
    EXPECT_EQ(nullptr, root->FindChild(nullptr));
    root->SetName(nullptr);
    EXPECT_EQ(L"root", W(root->name));
    _xml_element bare(nullptr, nullptr);
    EXPECT_EQ(nullptr, bare.name);
    EXPECT_FALSE(doc.Parsing(nullptr));
    EXPECT_TRUE(doc.EscapeEncode(nullptr).IsEmpty());
}

TEST(XmlTree, FindChildIsDepthFirstPreOrderAndTestsItselfFirst) {
    CXMLDoc doc;
    _xml_element* root = doc.AddElement(U(L"root"));
    _xml_element* a = root->AddElementChild(U(L"a"));
    _xml_element* b = root->AddElementChild(U(L"b"));
    _xml_element* xa = a->AddElementChild(U(L"x"));
    b->AddElementChild(U(L"x"));
    root->AddElementChild(U(L"root"));
    EXPECT_EQ(xa, root->FindChild(U(L"x")));
    EXPECT_EQ(root, root->FindChild(U(L"root")));
    EXPECT_EQ(nullptr, root->FindChild(U(L"X")));
    a->AddElementChild(U(L"br/"));
    EXPECT_EQ(nullptr, root->FindChild(U(L"br")));
    EXPECT_NE(nullptr, root->FindChild(U(L"br/")));
}

TEST(XmlTree, CopiesShareNodesAndTextsAndReleaseInEitherOrder) {
    auto* source = new CXMLDoc;
    _xml_element* root = source->AddElement(U(L"root"));
    root->AddAttr(U(L"k"), U(L"v"));
    root->AddElementChild(U(L"child"))->SetValue(U(L"text"));
    source->m_szDocType[0] = L'D';

    auto* copy = new CXMLDoc(*source);
    EXPECT_EQ(source->m_elements[0], copy->m_elements[0]);   // same node
    EXPECT_EQ(L'D', copy->m_szDocType[0]);
    copy->m_elements[0]->AddElementChild(U(L"added"));       // seen through both
    EXPECT_EQ(2, source->m_elements[0]->children.GetSize());
    copy->AddElement(U(L"second"));                          // the lists are each their own
    EXPECT_EQ(1, source->m_elements.GetSize());

    _xml_element local(*root);   // a copy of a node shares its texts
    EXPECT_EQ(root->name, local.name);
    local.SetName(U(L"renamed"));   // a new text for this record only
    EXPECT_EQ(L"root", W(root->name));

    _xml_attr attr;
    attr = *root->attrs[0];
    EXPECT_EQ(root->attrs[0]->value, attr.value);
    attr.SetValue(U(L"mine"));
    EXPECT_EQ(L"v", W(root->attrs[0]->value));

    *copy = *copy;   // self-assignment changes nothing
    EXPECT_EQ(2, copy->m_elements.GetSize());
    delete source;   // the copy keeps the shared nodes alive
    EXPECT_EQ(L"text", W(copy->m_elements[0]->FindChild(U(L"child"))->value));
    EXPECT_EQ(L"v", W(copy->m_elements[0]->FindAttrValue(U(L"k"))));
    EXPECT_EQ(L"v", W(local.FindAttrValue(U(L"k"))));
    delete copy;
    EXPECT_EQ(L"child", W(local.children[0]->name));   // still held by the local copy

    // Assigning a node its own descendant's content keeps everything alive.
    _xml_element outer(U(L"outer"), U(L""));
    outer.AddElementChild(U(L"inner"))->AddElementChild(U(L"leaf"));
    outer = *outer.children[0];
    EXPECT_EQ(L"inner", W(outer.name));
    EXPECT_EQ(L"leaf", W(outer.children[0]->name));
}

TEST(XmlTree, ParsedTreesOutliveTheirDocumentThroughCopies) {
    auto* doc = new CXMLDoc;
    doc->Parsing(U(L"<list><item id=\"1\">one</item><item id=\"2\">two</item></list>"));
    _xml_element* list = doc->m_elements[0]->FindChild(U(L"list"));
    _xml_element kept(*list);   // shares the parsed nodes and texts
    CXMLDoc copy(*doc);
    list->children[0]->SetName(U(L"renamed"));   // a parsed text replaced by a text of its own
    list->children[1]->SetValue(U(L"TWO"));
    delete doc;
    EXPECT_EQ(L"renamed", W(kept.children[0]->name));
    EXPECT_EQ(L"item", W(kept.children[1]->name));
    EXPECT_EQ(L"TWO", W(kept.children[1]->value));
    EXPECT_EQ(L"2", W(kept.children[1]->FindAttrValue(U(L"id"))));
    EXPECT_EQ(L"list{renamed[id=1](one) item[id=2](TWO)}", Body(copy));
}

// The lists of a parsed tree share storage chunks of their parse: they must stay usable, grow
// and be freed in any order after the document is gone, and parses on other threads at the
// same time keep chunks of their own.
TEST(XmlTree, ParsedListsGrowAndOutliveTheirDocument) {
    auto* doc = new CXMLDoc;
    doc->Parsing(U(L"<list><item id=\"1\"><a>x</a></item><item id=\"2\"><b>y</b></item></list>"));
    _xml_element kept(*doc->m_elements[0]->FindChild(U(L"list")));
    delete doc;
    for (int i = 0; i < 40; ++i) {   // each list outgrows its parsed storage
        kept.children[0]->AddAttr(U(L"n"), U(std::to_wstring(i).c_str()));
        kept.children[1]->AddElementChild(U(L"c"));
    }
    EXPECT_EQ(41, kept.children[0]->attrs.GetSize());
    EXPECT_EQ(L"1", W(kept.children[0]->FindAttrValue(U(L"id"))));
    EXPECT_EQ(L"a", W(kept.children[0]->children[0]->name));
    ASSERT_EQ(41, kept.children[1]->children.GetSize());
    EXPECT_EQ(L"b", W(kept.children[1]->children[0]->name));
    EXPECT_EQ(L"c", W(kept.children[1]->children[40]->name));

    std::wstring text = L"<root>";
    for (int i = 0; i < 2000; ++i) text += L"<item id=\"" + std::to_wstring(i) + L"\"><v>" + std::to_wstring(i) + L"</v></item>";
    text += L"</root>";
    CXMLDoc reference;
    reference.Parsing(U(text.c_str()));
    const std::wstring expected = Body(reference);
    std::vector<std::wstring> seen(2);
    std::vector<std::thread> readers;
    for (size_t t = 0; t < seen.size(); ++t)
        readers.emplace_back([&, t] {
            for (int round = 0; round < 20 && seen[t].empty(); ++round) {
                CXMLDoc mine;
                mine.Parsing(U(text.c_str()));
                if (Body(mine) != expected) seen[t] = Body(mine);
            }
        });
    for (std::thread& r : readers) r.join();
    for (const std::wstring& s : seen) EXPECT_EQ(L"", s.substr(0, 200));
}
