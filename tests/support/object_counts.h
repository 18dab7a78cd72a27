// What a process holds, for the tests that check that a window, a thread or a module leaves
// nothing behind: GDI objects by type and the process's windows. Every test that counts uses
// these, and judges growth with ExpectNoGrowth.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>

namespace counts {

// The process's GDI objects by type. Wine answers 0 to GetGuiResources, so the handle table
// is read: a handle whose high word is 0 names the entry at its index, whatever the entry's
// generation, and GetObjectType tells the live entries and their types.
struct Gdi {
    long fonts = 0;
    long brushes = 0;
    long pens = 0;
    long bitmaps = 0;
    long dcs = 0;       // screen, memory and metafile DCs
    long regions = 0;
    long other = 0;     // palettes, metafiles, colour spaces
    long total() const { return fonts + brushes + pens + bitmaps + dcs + regions + other; }
};

struct Held {
    Gdi gdi;
    long windows = 0;   // top-level, child and message-only windows of the process, each once
};

Gdi GdiNow();
long WindowsNow();
Held HeldNow();

// The counts and the type of every live GDI handle, so that what grew can be named.
struct Snapshot {
    Held held;
    std::vector<unsigned long> gdiTypes;   // by handle index; 0 where none
};
Snapshot Take();

// "fonts 3, brushes 12, ..., windows 2": every count, for messages.
std::string Describe(const Held& h);
// What grew from one snapshot to the next ("fonts +1, windows +2"), then each GDI object
// that is new (its type, size or colour); empty when no count changed.
std::string Growth(const Snapshot& from, const Snapshot& to);

// Waits until the thread with this id has ended, its handle signalled: a thread's detach work
// (the modules' thread detach, the system's clean-up of its windows) is done only then.
// True when it has ended within the time-out, or was gone already.
bool WaitForThreadEnd(DWORD tid, DWORD timeoutMs = 20000);

// Warms what the system makes once per process and then keeps: the display-context cache
// (Wine keeps every cached DC it ever made, with its regions), grown here to more DCs than
// the library's windows hold at once, and the system colour brushes and pens. Counts taken
// after it stay flat unless something really leaks.
void WarmSystemCaches();

// Runs run() once to let it make what it makes once (a class, a thread's first window), then
// again until `runs` runs in a row leave every count as it was, at most 3 * runs times. A leak
// of an object in every run, or in every few runs, never gives such a stretch; an object the
// system makes once and keeps (Wine makes some pens and bitmaps when a window first paints in
// a certain way, at a moment that varies from run to run) steps a count once and it stays flat
// after. On failure it names every step and the new objects. The system's caches are warmed
// first. run() returns false when the case itself failed.
testing::AssertionResult NoGrowthOver(int runs, const std::function<bool()>& run);

} // namespace counts
