// A host whose operator new takes its blocks from a heap of its own, counted. It makes XML
// records with new, hands some to the model's lists and deletes one itself: the lists free
// theirs with the document, nothing of the host's heap is left or freed elsewhere, and no
// heap of the process keeps a block more than before.
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

// Blocks in use in every heap of the process: the model's, the C runtime's, the host's.
long busy_blocks() {
    HANDLE heaps[64];
    const DWORD n = GetProcessHeaps(64, heaps);
    long busy = 0;
    for (DWORD i = 0; i < n && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry{};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

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

// Records made with new: two join lists of a document, one joins no list and is deleted.
int hand_made_records() {
    CXMLDoc doc;
    _xml_element* root = doc.AddElement(u(L"root"));
    auto* child = new _xml_element(u(L"hand"), u(L"made"));
    child->attrs.Add(new _xml_attr(u(L"k"), u(L"v")));
    root->children.Add(child);
    doc.m_elements.Add(new _xml_element(u(L"top"), u(L"")));
    auto* mine = new _xml_attr(u(L"mine"), u(L"x"));
    delete mine;
    return doc.OutXML().GetLength();
}

int main() {
    hand_made_records();   // the model's heap and the runtimes' first blocks
    const long before = g_blocks, busyBefore = busy_blocks();
    const int written = hand_made_records();
    const long left = g_blocks - before, busyLeft = busy_blocks() - busyBefore;
    printf("written: %d\n", written > 0 ? 1 : 0);
    printf("host blocks left: %ld\n", left);
    printf("blocks left in the process's heaps: %ld\n", busyLeft);
    printf("host heap valid: %d\n", HeapValidate(own_heap(), 0, nullptr) ? 1 : 0);
    return 0;
}
