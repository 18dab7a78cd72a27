// Hostile inputs and a seeded mutation loop: no crash, no hang, the same tree as a literal
// reading of the rules, and what the writer makes of any parsed tree reads back as the
// rules read that text.
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include "xml_reference.h"
#include "xml_test_util.h"

namespace {

const wchar_t* const kSeeds[] = {
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><resp><code>0</code><list><item id=\"7\">A</item><item id=\"8\">B</item></list></resp>",
    L"<!DOCTYPE x><catalog><photo key=\"a.jpg\" album=\"Summer\"><size>4096</size></photo><br/><music><title>T &amp; U</title></music></catalog>",
    L"<a><a><a>deep</a></a></a><b x=\"1\" y=\"2\"/><c></c>",
    L"<?xml version=\"1.0\"?><r><![CDATA[<x>]]><!--c--><s t=\"u\">v</s></r>",
};

// Parses text and compares the tree with the literal reading of the rules; then writes the
// tree out, parses that again and compares once more. Long texts are compared with the
// reference only on their first reading (the reference copies at every level).
void round_trip(const std::wstring& text) {
    CXMLDoc doc;
    ASSERT_TRUE(doc.Parsing(U(text.c_str())));
    if (text.size() < 5000) {
        RefResult want = ReferenceParse(text);
        ASSERT_EQ(want.body, Body(doc));
        ASSERT_EQ(want.docType, W(doc.m_szDocType));
        ASSERT_EQ(want.utf8, doc.m_bUTF8);
        ASSERT_DOUBLE_EQ(want.version, doc.m_dVersion);
    }
    const std::wstring out = doc.OutXML().GetString();
    CXMLDoc again;
    ASSERT_TRUE(again.Parsing(U(out.c_str())));
    if (out.size() < 5000) {
        ASSERT_EQ(ReferenceParse(out).body, Body(again)) << "written as " << testing::PrintToString(out);
    }
}

} // namespace

TEST(XmlRobustness, HostileInputs) {
    std::vector<std::wstring> inputs = {
        L"<", L">", L"<<<<", L">>>>", L"<a", L"<a b=\"", L"<a b=\"c", L"<a b=\"c\"", L"\"\"\"", L"<?", L"?>", L"<?" L"?>",
        L"<!", L"<!>", L"</>", L"</a>", L"<a></b></a>", L"<a><b></a></b>", L"<a\n>x</a\n>", L"<a\t b=\"1\">x</a\t>",
        L"<a b=\"1\" b=\"2\" b=\"3\">x</a>", L"<a></a></a></a>", L"<a><a></a>", L"<![CDATA[ <a> ]]>", L"<!-- <a> -->",
        L"<?xml version=\"1.0\"", L"<?xml?><?xml?>", L"?><?", L"<a b=>x</a>", L"<a =\"1\">x</a>", L"<=\"\">",
        L"<a><b><c><d></c></b></a>", L"\xfffd\xfffe<a>\xd800</a>", L"<a>&amp;&lt;&#x41;</a>", std::wstring(),
    };
    std::wstring attrs = L"<a";
    for (int i = 0; i < 20000; ++i) attrs += L" k" + std::to_wstring(i) + L"=\"v\"";
    inputs.push_back(attrs + L">x</a>");
    inputs.push_back(std::wstring(50000, L'<'));
    inputs.push_back(std::wstring(50000, L'>') + L"<a>");
    std::wstring interleaved;
    for (int i = 0; i < 2000; ++i) interleaved += L"<a><b></a></b>";
    inputs.push_back(interleaved);
    for (const std::wstring& text : inputs) {
        SCOPED_TRACE(text.size() < 200 ? testing::PrintToString(text) : "input of length " + std::to_string(text.size()));
        round_trip(text);
    }
}

TEST(XmlRobustness, SeededMutationLoop) {
    std::mt19937 rng(20261210);
    const wchar_t alphabet[] = L"<>/=\"? !-ab\t\n&;[]x";
    for (int round = 0; round < 100000; ++round) {
        std::wstring text = kSeeds[round % 4];
        const int edits = 1 + static_cast<int>(rng() % 4);
        for (int k = 0; k < edits; ++k) {
            const size_t at = rng() % (text.size() + 1);
            switch (rng() % 4) {
            case 0: if (at < text.size()) text.erase(at, 1 + rng() % 3); break;
            case 1: text.insert(at, 1, alphabet[rng() % (sizeof(alphabet) / sizeof(alphabet[0]) - 1)]); break;
            case 2: if (at < text.size()) text[at] = alphabet[rng() % (sizeof(alphabet) / sizeof(alphabet[0]) - 1)]; break;
            case 3: if (at < text.size()) text.insert(at, text.substr(at, rng() % 16)); break;
            }
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << testing::PrintToString(text));
        round_trip(text);
        if (HasFatalFailure()) return;
    }
}

namespace {

// A random tree written as the common text: names from a small set (so that elements nest
// inside others of their name), some with attributes, text between children, empty values.
void write_tree(std::mt19937& rng, int depth, std::wstring& out) {
    static const wchar_t* const kNames[] = {L"a", L"b", L"item"};
    const std::wstring tag = kNames[rng() % 3];
    out += L"<" + tag;
    if (rng() % 4 == 0) out += L" id=\"" + std::to_wstring(rng() % 10) + L"\"";
    out += L">";
    const int children = depth > 0 ? static_cast<int>(rng() % 4) : 0;
    if (children == 0 && rng() % 3) out += L"v" + std::to_wstring(rng() % 100);
    for (int i = 0; i < children; ++i) {
        if (rng() % 4 == 0) out += L" text ";
        write_tree(rng, depth - 1, out);
    }
    out += L"</" + tag + L">";
}

} // namespace

// Texts that the one-pass reading takes as they are, and the same texts with one fault of
// the kinds that make it give up (an attribute on an element inside one of its name, a
// closing tag that does not close, "<" inside a tag, a tag left open): each is read as the
// literal reading of the rules reads it.
TEST(XmlRobustness, WellFormedTextsAndOneFaultReadAsTheRulesRead) {
    std::mt19937 rng(20261211);
    const wchar_t* const kFaults[] = {L" k=\"1\"", L"</a>", L"<", L"<a>", L"</b >", L"<x y=\"<z>\">", L"/"};
    for (int round = 0; round < 3000; ++round) {
        std::wstring text;
        const int roots = 1 + static_cast<int>(rng() % 3);
        for (int i = 0; i < roots; ++i) write_tree(rng, 1 + static_cast<int>(rng() % 5), text);
        if (round % 2) {   // one fault, at a tag's end or start
            size_t at = rng() % text.size();
            while (at < text.size() && text[at] != L'>' && text[at] != L'<') ++at;
            text.insert(at, kFaults[rng() % (sizeof(kFaults) / sizeof(kFaults[0]))]);
        }
        SCOPED_TRACE(testing::Message() << "round " << round << ": " << testing::PrintToString(text));
        CXMLDoc doc;
        ASSERT_TRUE(doc.Parsing(U(text.c_str())));
        ASSERT_EQ(ReferenceParse(text).body, Body(doc));
    }
}
