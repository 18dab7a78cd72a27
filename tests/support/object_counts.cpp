#include "object_counts.h"
#include <sstream>
#include <vector>

namespace counts {

namespace {

// The count a GDI object type adds to.
long& Slot(Gdi& g, unsigned long type) {
    switch (type) {
    case OBJ_FONT: return g.fonts;
    case OBJ_BRUSH: return g.brushes;
    case OBJ_PEN: case OBJ_EXTPEN: return g.pens;
    case OBJ_BITMAP: return g.bitmaps;
    case OBJ_DC: case OBJ_MEMDC: case OBJ_METADC: case OBJ_ENHMETADC: return g.dcs;
    case OBJ_REGION: return g.regions;
    default: return g.other;
    }
}

} // namespace

Gdi GdiNow() {
    Gdi g;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        if (DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++Slot(g, type);
    return g;
}

namespace {

bool Ours(HWND w) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    return pid == GetCurrentProcessId();
}

// EnumChildWindows already walks every descendant: this callback must not recurse.
BOOL CALLBACK CountOne(HWND, LPARAM n) {
    ++*reinterpret_cast<long*>(n);
    return TRUE;
}

void CountWithDescendants(HWND w, long& n) {
    ++n;
    EnumChildWindows(w, CountOne, reinterpret_cast<LPARAM>(&n));
}

BOOL CALLBACK CountTopLevel(HWND w, LPARAM n) {
    if (Ours(w)) CountWithDescendants(w, *reinterpret_cast<long*>(n));
    return TRUE;
}

} // namespace

long WindowsNow() {
    long n = 0;
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&n));
    for (HWND w = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); w;
         w = FindWindowExW(HWND_MESSAGE, w, nullptr, nullptr))
        if (Ours(w)) CountWithDescendants(w, n);
    return n;
}

Held HeldNow() { return Held{GdiNow(), WindowsNow()}; }

Snapshot Take() {
    Snapshot s{HeldNow(), std::vector<unsigned long>(0x10000)};
    for (UINT_PTR i = 1; i < s.gdiTypes.size(); ++i) s.gdiTypes[i] = GetObjectType(reinterpret_cast<HGDIOBJ>(i));
    return s;
}

namespace {

std::string NameObject(UINT_PTR i, DWORD type) {
    HGDIOBJ h = reinterpret_cast<HGDIOBJ>(i);
    std::ostringstream s;
    s << std::hex << "0x" << i << std::dec << ' ';
    switch (type) {
    case OBJ_BITMAP: {
        BITMAP b{};
        GetObjectW(h, sizeof(b), &b);
        s << "bitmap " << b.bmWidth << 'x' << b.bmHeight << 'x' << b.bmBitsPixel;
        break;
    }
    case OBJ_PEN: {
        LOGPEN p{};
        GetObjectW(h, sizeof(p), &p);
        s << "pen style " << p.lopnStyle << " colour #" << std::hex << p.lopnColor << std::dec;
        break;
    }
    case OBJ_BRUSH: {
        LOGBRUSH b{};
        GetObjectW(h, sizeof(b), &b);
        s << "brush style " << b.lbStyle << " colour #" << std::hex << b.lbColor << std::dec;
        break;
    }
    case OBJ_FONT: {
        LOGFONTW f{};
        GetObjectW(h, sizeof(f), &f);
        s << "font height " << f.lfHeight << " weight " << f.lfWeight;
        break;
    }
    default: s << "object of type " << type; break;
    }
    return s.str();
}

struct Field {
    const char* name;
    long (*get)(const Held&);
};

const Field kFields[] = {
    {"fonts", [](const Held& h) { return h.gdi.fonts; }},
    {"brushes", [](const Held& h) { return h.gdi.brushes; }},
    {"pens", [](const Held& h) { return h.gdi.pens; }},
    {"bitmaps", [](const Held& h) { return h.gdi.bitmaps; }},
    {"DCs", [](const Held& h) { return h.gdi.dcs; }},
    {"regions", [](const Held& h) { return h.gdi.regions; }},
    {"other GDI objects", [](const Held& h) { return h.gdi.other; }},
    {"windows", [](const Held& h) { return h.windows; }},
};

} // namespace

std::string Describe(const Held& h) {
    std::ostringstream s;
    for (const Field& f : kFields) s << (&f == kFields ? "" : ", ") << f.name << ' ' << f.get(h);
    return s.str();
}

std::string Growth(const Snapshot& from, const Snapshot& to) {
    std::ostringstream s;
    for (const Field& f : kFields) {
        const long d = f.get(to.held) - f.get(from.held);
        if (d) s << (s.tellp() > 0 ? ", " : "") << f.name << ' ' << (d > 0 ? "+" : "") << d;
    }
    if (s.tellp() == 0) return "";
    // Named: the new objects of the types whose count grew.
    const Gdi& a = from.held.gdi;
    const Gdi& b = to.held.gdi;
    Gdi grown{b.fonts - a.fonts, b.brushes - a.brushes, b.pens - a.pens, b.bitmaps - a.bitmaps,
              b.dcs - a.dcs, b.regions - a.regions, b.other - a.other};
    int named = 0;
    for (UINT_PTR i = 1; i < to.gdiTypes.size() && named < 16; ++i)
        if (to.gdiTypes[i] && to.gdiTypes[i] != from.gdiTypes[i] && Slot(grown, to.gdiTypes[i]) > 0) {
            s << "\n    new: " << NameObject(i, to.gdiTypes[i]);
            ++named;
        }
    return s.str();
}

bool WaitForThreadEnd(DWORD tid, DWORD timeoutMs) {
    HANDLE h = OpenThread(SYNCHRONIZE, FALSE, tid);
    if (!h) return true;   // gone already
    const bool ended = WaitForSingleObject(h, timeoutMs) == WAIT_OBJECT_0;
    CloseHandle(h);
    return ended;
}

void WarmSystemCaches() {
    // Wine's cached DCs: one per window that holds a DC at the same moment. The library's
    // windows hold a few at once (a dialog, its controls, a list painting as it opens).
    const int kAtOnce = 16;
    std::vector<HWND> windows;
    std::vector<std::pair<HWND, HDC>> held;
    for (int i = 0; i < kAtOnce; ++i) {
        HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        if (!w) break;
        windows.push_back(w);
        if (HDC dc = GetDC(w)) held.emplace_back(w, dc);
        if (HDC dc = GetDCEx(w, nullptr, DCX_WINDOW | DCX_CACHE)) held.emplace_back(w, dc);
    }
    for (const auto& [w, dc] : held) ReleaseDC(w, dc);
    for (HWND w : windows) DestroyWindow(w);
    // The shared icons a window without one of its own is given, at both sizes (each a colour,
    // an alpha and a mask bitmap).
    for (const wchar_t* icon : {IDI_APPLICATION, IDI_WINLOGO})
        for (int size : {GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CXSMICON)})
            LoadImageW(nullptr, icon, IMAGE_ICON, size, size, LR_SHARED);
    // The colour brushes and pens the system makes when they are first asked for.
    for (int c = 0; c <= COLOR_MENUBAR; ++c) GetSysColorBrush(c);
}

testing::AssertionResult NoGrowthOver(int runs, const std::function<bool()>& run) {
    WarmSystemCaches();
    if (!run()) return testing::AssertionFailure() << "the first run failed";
    // A leak of one object in every run, or in every few runs, never gives `runs` flat runs in
    // a row; an object the system makes once steps a count once and it stays flat after.
    const int kMostRuns = 3 * runs;
    Snapshot last = Take();
    const std::string start = Describe(last.held);
    std::ostringstream steps;
    int flat = 0, done = 0;
    while (flat < runs && done < kMostRuns) {
        if (!run()) return testing::AssertionFailure() << "run " << done + 1 << " failed";
        ++done;
        Snapshot now = Take();
        const std::string g = Growth(last, now);
        if (g.empty()) {
            ++flat;
        } else {
            flat = 0;
            steps << "\n  after run " << done << ": " << g;
        }
        last = std::move(now);
    }
    if (flat == runs) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "objects grew in " << runs << " of every " << done
                                       << " runs after the first (" << start << " after it):" << steps.str();
}

} // namespace counts
