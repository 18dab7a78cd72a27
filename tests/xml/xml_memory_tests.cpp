// Ownership and out-of-memory behaviour of the XML model, counted block by block.
//
// This program links the model's own objects (not the library, and not the model's heap),
// so that every block the model allocates goes through the counting allocator below: the
// tests see what is live, and can make any one allocation fail.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <new>
#include <string>
#include <test_paths.h>
#include "xml_reference.h"
#include "xml_test_util.h"

namespace {

// Blocks are counted while a count is open: every block made then is noted in a table
// (no allocation of its own), and crossed out when it is freed. Blocks stay plain C heap
// blocks, so that whichever module frees one (the C++ runtime's library frees some of the
// blocks that inline code here made, and the other way round) frees it rightly.
const size_t kSlots = 1 << 16;
void* g_blocks[kSlots];
bool g_counting = false;
long g_live = 0;        // blocks made during the count and not yet freed
long g_countdown = -1;  // >= 0: allocations left before the one that fails
bool g_fired = false;   // the failure has been given

size_t slot_of(void* p) { return (reinterpret_cast<size_t>(p) >> 3) & (kSlots - 1); }

void note(void* p) {
    for (size_t i = slot_of(p);; i = (i + 1) & (kSlots - 1))
        if (!g_blocks[i]) {
            g_blocks[i] = p;
            ++g_live;
            return;
        }
}

void cross_out(void* p) {
    for (size_t i = slot_of(p); g_blocks[i]; i = (i + 1) & (kSlots - 1))
        if (g_blocks[i] == p) {
            // Re-place the rest of the run so that later searches still find them.
            g_blocks[i] = nullptr;
            --g_live;
            for (size_t j = (i + 1) & (kSlots - 1); g_blocks[j]; j = (j + 1) & (kSlots - 1)) {
                void* q = g_blocks[j];
                g_blocks[j] = nullptr;
                --g_live;
                note(q);
            }
            return;
        }
}

void begin_count() {
    memset(g_blocks, 0, sizeof(g_blocks));
    g_live = 0;
    g_counting = true;
}

// Ends the count: the blocks made since begin_count and still live.
long end_count() {
    g_counting = false;
    return g_live;
}

bool fail_now() {
    if (g_countdown < 0 || g_countdown-- > 0) return false;
    g_fired = true;
    return true;
}

void* counted(size_t n) {
    if (fail_now()) return nullptr;
    void* p = malloc(n ? n : 1);
    if (p && g_counting) note(p);
    return p;
}

void uncounted(void* p) {
    if (!p) return;
    if (g_counting) cross_out(p);
    free(p);
}

// Ends the failure window early: the checks after the library's calls allocate freely.
void disarm() { g_countdown = -1; }

// Runs op with allocation number k (from 0) failing; true when the failure was given.
template <class Op>
bool with_failure_at(long k, Op op) {
    g_fired = false;
    g_countdown = k;
    op();
    disarm();
    return g_fired;
}

const wchar_t kSample[] =
    L"<?xml version=\"1.0\" encoding=\"UTF-8\"?><resp><code>0</code><list><item id=\"7\">A</item>"
    L"<item id=\"8\">B</item></list><br/></resp>";

} // namespace

void* operator new(size_t n) {
    if (void* p = counted(n)) return p;
    throw std::bad_alloc();
}
void* operator new[](size_t n) { return operator new(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return counted(n); }
void operator delete(void* p) noexcept { uncounted(p); }
void operator delete[](void* p) noexcept { uncounted(p); }
void operator delete(void* p, size_t) noexcept { uncounted(p); }
void operator delete[](void* p, size_t) noexcept { uncounted(p); }

// The model's own heap, counted the same way: this program links the model without it.
namespace xmlheap {
void* alloc(size_t bytes) { return counted(bytes); }
void free(void* block) { uncounted(block); }
} // namespace xmlheap

TEST(XmlOwnership, HandMadeAttributeBelongsToTheElementItIsAddedTo) {
    begin_count();
    {
        _xml_element e(U(L"e"), U(L"v"));
        e.attrs.Add(new _xml_attr(U(L"k"), U(L"hand made")));
        e.AddAttr(U(L"j"), U(L"library made"));
        EXPECT_EQ(8, g_live);   // the element's texts, and each attribute with its two texts
    }
    EXPECT_EQ(0, end_count());   // both attributes freed with their texts
}

TEST(XmlOwnership, HandMadeElementLivesWhileAListHoldsIt) {
    begin_count();
    auto* parent = new _xml_element(U(L"parent"), U(L""));
    parent->children.Add(new _xml_element(U(L"child"), U(L"text")));
    CXMLDoc doc;
    doc.m_elements.Add(new _xml_element(U(L"top"), U(L"")));
    const long built = g_live;
    {
        _xml_element copy(*parent);   // a second holder of the child
        CXMLDoc docCopy(doc);
    }
    const long afterCopies = g_live;   // the copies let go; the first holders keep everything
    const bool childIntact = W(parent->children[0]->name) == L"child" && W(parent->children[0]->value) == L"text";
    const bool topIntact = W(doc.m_elements[0]->name) == L"top";
    delete parent;
    doc = CXMLDoc();
    const long left = end_count();
    EXPECT_EQ(built, afterCopies);
    EXPECT_TRUE(childIntact);
    EXPECT_TRUE(topIntact);
    EXPECT_EQ(0, left);
}

TEST(XmlOwnership, DeepTreesAreReleasedWithoutRecursion) {
    begin_count();
    {
        CXMLDoc doc;
        _xml_element* e = doc.AddElement(U(L"d"));
        for (int i = 0; i < 20000; ++i) e = e->AddElementChild(U(L"d"));
    }
    EXPECT_EQ(0, end_count());
}

// A parse whose texts outgrow the first of the reader's chunks: every chunk goes with the
// document.
TEST(XmlOwnership, AParseLargerThanOneChunkReleasesEveryChunk) {
    std::wstring text = L"<list>";
    for (int i = 0; i < 5000; ++i)
        text += L"<item id=\"" + std::to_wstring(i) + L"\">value " + std::to_wstring(i) + L"</item>";
    text += L"</list>";
    ASSERT_GT(text.size() * sizeof(unsigned short), 4u * 64 * 1024);
    begin_count();
    bool parsed = false;
    long items = 0;
    {
        CXMLDoc doc;
        parsed = doc.Parsing(U(text.c_str()));
        if (parsed && doc.m_elements.GetSize() == 1)
            if (_xml_element* list = doc.m_elements[0]->FindChild(U(L"list"))) items = list->children.GetSize();
    }
    const long left = end_count();
    EXPECT_TRUE(parsed);
    EXPECT_EQ(5000, items);
    EXPECT_EQ(0, left);
}

// Each operation is run with its first, second, third ... allocation failing, until it
// runs without a failure: no exception leaves it, it fails by its result, and it leaks
// nothing.
TEST(XmlOutOfMemory, EveryAllocationFailureFailsByResult) {
    const std::wstring folder = NewTempFolder(L"xmloom");
    const std::wstring file = folder + L"\\sample.xml";
    {
        FILE* f = _wfopen(file.c_str(), L"wb");
        ASSERT_NE(nullptr, f);
        const std::string bytes = "<a x=\"1\"><b>2</b></a>";
        fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    // Each operation calls the library, disarms, then checks: a failed call must have
    // failed by its result and changed nothing it should not have.
    struct Case {
        const char* what;
        bool (*op)();   // true when every call succeeded
    };
    static std::wstring s_file, s_sampleBody;
    s_file = file;
    s_sampleBody = ReferenceParse(kSample).body;
    const Case cases[] = {
        {"Parsing",
         [] {
             CXMLDoc doc;
             const bool ok = doc.Parsing(U(kSample));
             disarm();
             if (!ok) {
                 EXPECT_EQ(0, doc.m_elements.GetSize()) << "a failed parse added a root";
             } else {
                 EXPECT_EQ(s_sampleBody, Body(doc));
             }
             return ok;
         }},
        {"LoadFile",
         [] {
             CXMLDoc doc;
             const bool ok = doc.LoadFile(U(s_file.c_str()));
             disarm();
             if (ok) {
                 EXPECT_EQ(L"a[x=1]{b(2)}", Body(doc));
             }
             return ok;
         }},
        {"constructors",
         [] {
             _xml_attr a(U(L"name"), U(L"value"));
             _xml_element e(U(L"name"), U(L"value"));
             disarm();
             EXPECT_EQ(a.name == nullptr, a.value == nullptr) << "half an attribute";
             EXPECT_EQ(e.name == nullptr, e.value == nullptr) << "half an element";
             return a.name && e.name;
         }},
        {"adders and texts",
         [] {
             CXMLDoc doc;
             _xml_element* root = doc.AddElement(U(L"root"));
             _xml_attr* a = root ? root->AddAttr(U(L"k"), U(L"v")) : nullptr;
             _xml_element* c = root ? root->AddElementChild(U(L"c")) : nullptr;
             if (root) {
                 root->SetName(U(L"renamed"));
                 root->SetValue(U(L"valued"));
             }
             disarm();
             if (!root) {
                 EXPECT_EQ(0, doc.m_elements.GetSize());
                 return false;
             }
             EXPECT_EQ(a ? 1 : 0, root->attrs.GetSize());
             EXPECT_EQ(c ? 1 : 0, root->children.GetSize());
             const bool renamed = W(root->name) == L"renamed", valued = W(root->value) == L"valued";
             if (!renamed) {
                 EXPECT_EQ(L"root", W(root->name));
             }
             if (!valued) {
                 EXPECT_EQ(nullptr, root->value);
             }
             return a && c && renamed && valued;
         }},
        {"copies and assignments",
         [] {
             CXMLDoc src;
             _xml_element* root = src.AddElement(U(L"r"));
             _xml_element* child = root ? root->AddElementChild(U(L"c")) : nullptr;
             if (!child) {
                 disarm();
                 return false;
             }
             CXMLDoc copy(src);
             CXMLDoc assigned;
             _xml_element* old = assigned.AddElement(U(L"old"));
             assigned = src;
             _xml_element elementCopy(*root);
             _xml_element elementAssigned;
             elementAssigned = *root;
             disarm();
             const bool copied = copy.m_elements.GetSize() == 1;
             if (!copied) {
                 EXPECT_EQ(0, copy.m_elements.GetSize());
             }
             const bool whole = assigned.m_elements.GetSize() == 1 && assigned.m_elements[0] == root;
             if (!whole && old) {   // a failed assignment leaves the document as it was
                 EXPECT_EQ(1, assigned.m_elements.GetSize());
                 EXPECT_EQ(old, assigned.m_elements[0]);
             }
             const bool elementWhole = elementAssigned.children.GetSize() == 1 && W(elementAssigned.name) == L"r";
             if (!elementWhole) {
                 EXPECT_EQ(0, elementAssigned.children.GetSize());
                 EXPECT_EQ(nullptr, elementAssigned.name);
             }
             return old && copied && whole && elementCopy.children.GetSize() == 1 && elementWhole;
         }},
        {"find and write",
         [] {
             _xml_element e(U(L"e"), U(L"v"));
             _xml_element* c = e.name ? e.AddElementChild(U(L"c")) : nullptr;
             CString out;
             _xml_element* found = nullptr;
             if (c) {
                 out = e.OutXML();
                 found = e.FindChild(U(L"c"));
             }
             disarm();
             if (found) {
                 EXPECT_EQ(c, found);
             }
             const bool wrote = out == L"<e>\nv\n<c>\n</c>\n</e>\n";
             if (!wrote) {
                 EXPECT_TRUE(out.IsEmpty()) << "half-written text";
             }
             return c && found && wrote;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (long k = 0;; ++k) {
            SCOPED_TRACE(testing::Message() << "allocation " << k << " fails");
            bool ok = false;
            bool fired = true;
            begin_count();
            EXPECT_NO_THROW(fired = with_failure_at(k, [&] { ok = c.op(); }));
            EXPECT_EQ(0, end_count()) << "leaked";
            if (!fired) {
                EXPECT_TRUE(ok) << "fails without a failed allocation";
                EXPECT_GT(k, 0) << "made no allocation";
                break;
            }
            if (HasFailure()) break;
            ASSERT_LT(k, 10000);
        }
    }
    RemoveTree(folder);
}
