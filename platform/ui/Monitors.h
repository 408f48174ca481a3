#pragma once
// The screens: the monitor calls of the platform and the layout they answer from. The layout is
// the desktop's (the backend's screens, the primary one first) unless a program or a test has put
// one of its own in place; Screen, GetSystemMetrics(SM_CXSCREEN) and SystemParametersInfo
// (SPI_GETWORKAREA) answer from the same layout.
#include <vector>

#include "platform/ui/backend/Screens.h"
#include "platform/win/WinTypes.h"

// A monitor's handle stands for its place in the layout (1 for the first); it is valid while the
// layout stays as it is.
using HMONITOR = HANDLE;
constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;

struct MONITORINFO {
    DWORD cbSize = sizeof(MONITORINFO);
    TRect rcMonitor;
    TRect rcWork;
    DWORD dwFlags = 0;
};

// The monitor holding the point; outside every monitor the flags decide: none, the primary or
// the nearest (the one whose rectangle lies closest to the point).
HMONITOR MonitorFromPoint(TPoint pt, DWORD flags);
// The monitor the window's rectangle overlaps most; without overlap the flags decide, as for a
// point at the rectangle's centre. A handle that is no window answers nullptr.
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromRect(const TRect* rect, DWORD flags);
// FALSE for a stale or foreign handle, or a record whose cbSize is not its size.
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

namespace ui {

// The screens as the layer answers them now, the primary first. Never empty.
std::vector<ScreenArea> Screens();
// Puts a layout of the program's own in place of the desktop's (a test's screens); an empty one
// goes back to the desktop's. The first screen marked primary is the primary one (the first one
// when none is marked).
void SetScreenLayout(std::vector<ScreenArea> layout);

}  // namespace ui
