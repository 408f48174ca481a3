#include "platform/ui/Monitors.h"

#include <algorithm>
#include <climits>

#include "platform/ui/Controls.h"
#include "platform/ui/backend/Backend.h"

namespace {

std::vector<ui::ScreenArea> gLayout;  // the program's own; empty: the desktop's

// The primary screen first, so that index 0 is always the primary one.
std::vector<ui::ScreenArea> PrimaryFirst(std::vector<ui::ScreenArea> screens) {
    auto primary = std::find_if(screens.begin(), screens.end(), [](const ui::ScreenArea& s) { return s.Primary; });
    if (primary == screens.end()) primary = screens.begin();
    std::rotate(screens.begin(), primary, primary + 1);
    for (size_t i = 0; i < screens.size(); ++i) screens[i].Primary = i == 0;
    return screens;
}

HMONITOR HandleOf(size_t index) { return reinterpret_cast<HMONITOR>(static_cast<uintptr_t>(index + 1)); }

// Squared distance from a point to the nearest point of a rectangle (0 inside it).
int64_t DistanceSquared(const TRect& r, const TPoint& p) {
    int64_t dx = p.X < r.Left ? r.Left - p.X : p.X >= r.Right ? p.X - (r.Right - 1) : 0;
    int64_t dy = p.Y < r.Top ? r.Top - p.Y : p.Y >= r.Bottom ? p.Y - (r.Bottom - 1) : 0;
    return dx * dx + dy * dy;
}

HMONITOR Fallback(const std::vector<ui::ScreenArea>& screens, const TPoint& p, DWORD flags) {
    if (flags == MONITOR_DEFAULTTOPRIMARY) return HandleOf(0);
    if (flags != MONITOR_DEFAULTTONEAREST) return nullptr;
    size_t best = 0;
    int64_t bestDistance = INT64_MAX;
    for (size_t i = 0; i < screens.size(); ++i) {
        int64_t d = DistanceSquared(screens[i].Bounds, p);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return HandleOf(best);
}

}  // namespace

std::vector<ui::ScreenArea> ui::Screens() {
    std::vector<ScreenArea> screens = gLayout.empty() ? GetBackend().Screens() : gLayout;
    if (screens.empty()) screens.push_back(ScreenArea{GetBackend().ScreenRect(), GetBackend().WorkArea(), true});
    return PrimaryFirst(std::move(screens));
}

void ui::SetScreenLayout(std::vector<ScreenArea> layout) { gLayout = std::move(layout); }

HMONITOR MonitorFromPoint(TPoint pt, DWORD flags) {
    std::vector<ui::ScreenArea> screens = ui::Screens();
    for (size_t i = 0; i < screens.size(); ++i)
        if (screens[i].Bounds.Contains(pt)) return HandleOf(i);
    return Fallback(screens, pt, flags);
}

HMONITOR MonitorFromRect(const TRect* rect, DWORD flags) {
    if (!rect) return nullptr;
    std::vector<ui::ScreenArea> screens = ui::Screens();
    size_t best = 0;
    int64_t bestArea = 0;
    for (size_t i = 0; i < screens.size(); ++i) {
        TRect overlap = IntersectRects(screens[i].Bounds, *rect);
        int64_t area = int64_t{overlap.Width()} * overlap.Height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    if (bestArea > 0) return HandleOf(best);
    TPoint centre((rect->Left + rect->Right) / 2, (rect->Top + rect->Bottom) / 2);
    return Fallback(screens, centre, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
    TRect r;
    if (!GetWindowRect(hwnd, &r)) return nullptr;
    return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
    if (!info || info->cbSize != sizeof(MONITORINFO)) return FALSE_;
    auto index = reinterpret_cast<uintptr_t>(monitor);
    std::vector<ui::ScreenArea> screens = ui::Screens();
    if (index == 0 || index > screens.size()) return FALSE_;
    const ui::ScreenArea& s = screens[index - 1];
    info->rcMonitor = s.Bounds;
    info->rcWork = s.Work;
    info->dwFlags = s.Primary ? MONITORINFOF_PRIMARY : 0;
    return TRUE_;
}
