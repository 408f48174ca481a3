// PaintTo: a control drawn onto another DC through the messages of a paint pass. While it runs,
// the window's DCs (BeginPaint, GetDC, GetWindowDC) are the target DC with the window's origin
// and clip, so the default handlers and a component's own draw there, and the window's invalid
// part is neither read nor cleared.
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/WindowLayers.h"

namespace {

struct Redirect {
    TWinControl* window;
    HDC dc;
    std::vector<int> saves;  // one per DC handed out, restored as it is released
};
std::vector<Redirect> gRedirects;  // the innermost last

Redirect* Find(TWinControl* w) {
    for (auto it = gRedirects.rbegin(); it != gRedirects.rend(); ++it)
        if (it->window == w) return &*it;
    return nullptr;
}

}  // namespace

namespace ui::detail {

HDC RedirectedDc(TWinControl* w, bool client) {
    Redirect* r = Find(w);
    if (!r) return nullptr;
    r->saves.push_back(SaveDC(r->dc));
    if (client) {
        TRect area = w->ClientArea();
        OffsetViewportOrgEx(r->dc, area.Left, area.Top, nullptr);
        IntersectClipRect(r->dc, 0, 0, area.Width(), area.Height());
    }
    return r->dc;
}

bool ReleaseRedirectedDc(TWinControl* w, HDC dc) {
    Redirect* r = w ? Find(w) : nullptr;
    if (!r || r->dc != dc || r->saves.empty()) return false;
    RestoreDC(dc, r->saves.back());
    r->saves.pop_back();
    return true;
}

}  // namespace ui::detail

void TWinControl::PaintTo(HDC DC, int X, int Y) {
    if (!TCanvas::FromHandle(DC)) return;  // a stale handle, refused as everywhere
    HandleNeeded();
    if (!FHandle) return;
    int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, X, Y, nullptr);
    IntersectClipRect(DC, 0, 0, Width(), Height());
    if (const ui::detail::WindowLayer* layer = ui::detail::FindLayer(this); layer && layer->Shaped) {
        // The region is in window coordinates; a clip region is in the device's.
        TPoint viewport, windowOrg;
        GetViewportOrgEx(DC, &viewport);
        GetWindowOrgEx(DC, &windowOrg);
        HRGN shape = ui::gdi::NewRegion(layer->Shape.Translated(viewport.X - windowOrg.X, viewport.Y - windowOrg.Y));
        ExtSelectClipRgn(DC, shape, RGN_AND);
        DeleteObject(shape);
    }
    gRedirects.push_back(Redirect{this, DC, {}});
    struct End {
        HDC dc;
        int saved;
        ~End() {
            gRedirects.pop_back();
            RestoreDC(dc, saved);
        }
    } end{DC, saved};
    Perform(WM_NCPAINT, 1, 0);
    Perform(WM_PAINT, 0, 0);
    // Windowed children over the painting, inside the client area, bottom first.
    TRect area = ClientArea();
    std::vector<TControl*> children = FControls;
    for (TControl* c : children) {
        auto* child = dynamic_cast<TWinControl*>(c);
        if (!child || child->Parent() != this || !child->Visible() || child->IsPopup()) continue;
        int inside = SaveDC(DC);
        OffsetViewportOrgEx(DC, area.Left, area.Top, nullptr);
        IntersectClipRect(DC, 0, 0, area.Width(), area.Height());
        child->PaintTo(DC, child->Left(), child->Top());
        RestoreDC(DC, inside);
    }
}

void TWinControl::PaintTo(TCanvas* Canvas, int X, int Y) {
    if (!Canvas) return;
    TCanvasLock lock(Canvas);
    PaintTo(Canvas->Handle(), X, Y);
}
