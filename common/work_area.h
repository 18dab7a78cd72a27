// The work area a window or box is kept inside: that of the monitor nearest to it. For the
// primary monitor it is the system's work area (SPI_GETWORKAREA), which Windows gives for that
// monitor too and which Wine keeps apart from its monitor record: a work area set for the
// session (a docked panel, a task bar) shows there only.
#pragma once
#include <windows.h>

inline RECT work_area_of(HMONITOR monitor) {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (monitor && GetMonitorInfoW(monitor, &mi) && !(mi.dwFlags & MONITORINFOF_PRIMARY)) return mi.rcWork;
    RECT work;
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return work;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

inline RECT work_area_near(HWND window) { return work_area_of(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST)); }
inline RECT work_area_near(POINT point) { return work_area_of(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST)); }
