// The benchmarks' measure of the peak memory a piece of work adds to the process.
#pragma once
#include <windows.h>
#include <psapi.h>

// The peak of the memory a piece of work adds. Windows keeps a true peak of the private
// bytes; Wine reports the current ones as their peak, so under Wine (on Linux) the peak is
// taken from the resident set's high-water mark, which the kernel resets on request.
class PeakProbe {
public:
    PeakProbe() {
        HANDLE f = CreateFileW(L"Z:\\proc\\self\\clear_refs", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            highWater_ = WriteFile(f, "5", 1, &written, nullptr) && written == 1;
            CloseHandle(f);
        }
        const PROCESS_MEMORY_COUNTERS m = counters();
        before_ = highWater_ ? m.WorkingSetSize : m.PagefileUsage;
        privateBefore_ = m.PagefileUsage;
    }
    // The peak added since construction, and what stays added at the end.
    void finish(SIZE_T& peak, SIZE_T& after) const {
        const PROCESS_MEMORY_COUNTERS m = counters();
        const SIZE_T top = highWater_ ? m.PeakWorkingSetSize : m.PeakPagefileUsage;
        peak = top > before_ ? top - before_ : 0;
        after = m.PagefileUsage > privateBefore_ ? m.PagefileUsage - privateBefore_ : 0;
    }
    bool high_water() const { return highWater_; }

private:
    static PROCESS_MEMORY_COUNTERS counters() {
        PROCESS_MEMORY_COUNTERS pmc{};
        GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof(pmc));
        return pmc;
    }
    bool highWater_ = false;
    SIZE_T before_ = 0, privateBefore_ = 0;
};
