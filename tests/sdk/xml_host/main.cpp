// A host whose operator new takes its blocks from a heap of its own, counted. It makes XML
// records with new, hands some to the model's lists and deletes one itself: the lists free
// theirs with the document, and nothing of the host's heap is left or freed elsewhere.
#include <windows.h>
#include <stdio.h>
#include <new>
#include <Corelink.h>

namespace {

HANDLE own_heap() {
    static HANDLE heap = HeapCreate(0, 0, 0);
    return heap;
}
long g_blocks = 0;   // blocks of the host's heap not yet freed

const unsigned short* u(const wchar_t* s) { return reinterpret_cast<const unsigned short*>(s); }

} // namespace

void* operator new(size_t n) {
    void* p = HeapAlloc(own_heap(), 0, n ? n : 1);
    if (!p) throw std::bad_alloc();
    ++g_blocks;
    return p;
}
void* operator new[](size_t n) { return operator new(n); }
void operator delete(void* p) noexcept {
    if (!p) return;
    --g_blocks;
    HeapFree(own_heap(), 0, p);
}
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, size_t) noexcept { operator delete(p); }
void operator delete[](void* p, size_t) noexcept { operator delete(p); }

int main() {
    const long before = g_blocks;
    int written = 0;
    {
        CXMLDoc doc;
        _xml_element* root = doc.AddElement(u(L"root"));
        auto* child = new _xml_element(u(L"hand"), u(L"made"));
        child->attrs.Add(new _xml_attr(u(L"k"), u(L"v")));
        root->children.Add(child);
        doc.m_elements.Add(new _xml_element(u(L"top"), u(L"")));
        auto* mine = new _xml_attr(u(L"mine"), u(L"x"));
        delete mine;
        written = doc.OutXML().GetLength();
    }
    printf("written: %d\n", written > 0 ? 1 : 0);
    printf("host blocks left: %ld\n", g_blocks - before);
    printf("host heap valid: %d\n", HeapValidate(own_heap(), 0, nullptr) ? 1 : 0);
    return 0;
}
