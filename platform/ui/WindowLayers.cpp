// What the library keeps for shaped and layered windows, the input style bits and the hit test
// of the program's windows.
#include "platform/ui/WindowLayers.h"

#include <algorithm>
#include <map>

#include "platform/ui/Forms.h"
#include "platform/ui/backend/Backend.h"

namespace {

std::map<const TWinControl*, ui::detail::WindowLayer>& Layers() {
    static std::map<const TWinControl*, ui::detail::WindowLayer> layers;
    return layers;
}

TPoint WindowOriginOf(const TWinControl* w) {
    TPoint o = w->ClientOrigin();
    TRect a = w->ClientArea();
    return Point(o.X - a.Left, o.Y - a.Top);
}

bool InRect(const TWinControl* w, TPoint screen) {
    TPoint o = WindowOriginOf(w);
    return Bounds(o.X, o.Y, w->Width(), w->Height()).Contains(screen);
}

// The window itself keeps the point: not transparent to input, and inside its region.
bool Keeps(const TWinControl* w, TPoint screen) {
    if (w->WindowExStyle() & WS_EX_TRANSPARENT) return false;
    const ui::detail::WindowLayer* layer = ui::detail::FindLayer(w);
    if (!layer || !layer->Shaped) return true;
    TPoint o = WindowOriginOf(w);
    return layer->Shape.Contains(screen.X - o.X, screen.Y - o.Y);
}

bool IsTop(const TWinControl* w) { return !w->Parent() || w->IsPopup(); }

// Shown as a window of its own: a form or pop-up shown, or a parentless window made visible.
bool TopShown(TWinControl* w) {
    return w->HandleAllocated() && (w->Showing() || (!w->Parent() && w->Visible()));
}

TWinControl* Deepest(TWinControl* w, TPoint screen) {
    TPoint client = w->ClientOrigin();
    if (!Bounds(client.X, client.Y, w->ClientWidth(), w->ClientHeight()).Contains(screen)) return w;
    for (int i = w->ControlCount() - 1; i >= 0; --i) {
        auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
        // A pop-up child is a window of its own, placed on the screen; it is not inside w.
        if (!child || !child->HandleAllocated() || !child->Showing() || child->IsPopup()) continue;
        if (InRect(child, screen) && Keeps(child, screen)) return Deepest(child, screen);
    }
    return w;
}

}  // namespace

namespace ui::detail {

const WindowLayer* FindLayer(const TWinControl* window) {
    auto it = Layers().find(window);
    return it == Layers().end() ? nullptr : &it->second;
}

WindowLayer& LayerOf(const TWinControl* window) { return Layers()[window]; }

void LayersWindowCreated(TWinControl* window) {
    // A window is made without a region or a layered picture: those belonged to the window
    // that went. Its style may let input through from the start.
    if (window->Peer() && (window->WindowExStyle() & WS_EX_TRANSPARENT)) window->Peer()->SetInputTransparent(true);
}

void LayersWindowDestroyed(TWinControl* window) { Layers().erase(window); }

void LayersStylesChanged(TWinControl* window, DWORD oldStyle, DWORD oldExStyle) {
    (void)oldStyle;
    DWORD ex = window->WindowExStyle();
    ui::WidgetPeer* peer = window->Peer();
    if ((ex ^ oldExStyle) & WS_EX_TRANSPARENT) {
        if (peer) peer->SetInputTransparent((ex & WS_EX_TRANSPARENT) != 0);
    }
    // No longer layered: the window shows its own painting, opaque, and forgets its attributes.
    if ((oldExStyle & WS_EX_LAYERED) && !(ex & WS_EX_LAYERED)) {
        auto it = Layers().find(window);
        if (it == Layers().end()) return;
        bool had = it->second.AttributesSet || it->second.Picture;
        it->second.AttributesSet = false;
        it->second.Alpha = 255;
        it->second.Picture.reset();
        it->second.PictureAlpha = 255;
        if (had && peer && GetBackend().Supports(Capability::TranslucentWindows)) {
            peer->SetLayeredImage(nullptr);
            peer->SetOpacity(255);
        }
    }
}

bool WindowDisabled(const TWinControl* window) {
    return !window->Enabled() || (window->WindowStyle() & WS_DISABLED) != 0;
}

bool InputRefused(const TWinControl* window) {
    for (const TWinControl* w = window; w; w = IsTop(w) ? nullptr : w->Parent())
        if (WindowDisabled(w)) return true;
    return false;
}

bool PassesMouse(const TWinControl* window, TPoint screen) {
    if (!window->HandleAllocated() || !InRect(window, screen)) return false;
    for (const TWinControl* w = window; w; w = IsTop(w) ? nullptr : w->Parent())
        if (!Keeps(w, screen)) return true;
    return false;
}

std::vector<TWinControl*> TopWindowsInZOrder() {
    std::vector<TWinControl*> all = TopLevelWindows();
    std::reverse(all.begin(), all.end());  // newest first
    std::vector<TWinControl*> shown;
    for (TWinControl* w : all)
        if (TopShown(w)) shown.push_back(w);
    // The active window and the windows it owns come before the others of their layer.
    TWinControl* active = ActiveWindow();
    auto activeTree = [active](TWinControl* w) {
        for (int depth = 0; w && depth < 64; ++depth, w = WindowOwner(w))
            if (w == active) return true;
        return false;
    };
    std::stable_sort(shown.begin(), shown.end(), [&](TWinControl* a, TWinControl* b) {
        bool ta = (a->WindowExStyle() & WS_EX_TOPMOST) != 0, tb = (b->WindowExStyle() & WS_EX_TOPMOST) != 0;
        if (ta != tb) return ta;
        return activeTree(a) && !activeTree(b);
    });
    return shown;
}

TWinControl* MouseWindowAt(TPoint screen, bool skipDisabled) {
    for (TWinControl* top : TopWindowsInZOrder()) {
        if (!InRect(top, screen) || !Keeps(top, screen)) continue;
        if (skipDisabled && WindowDisabled(top)) continue;
        return Deepest(top, screen);
    }
    return nullptr;
}

void NoteActivated(TWinControl* window) {
    if (window && window->HandleAllocated()) LayerOf(window).Activated = true;
}

BYTE ShownAlpha(const TWinControl* window) {
    const WindowLayer* layer = FindLayer(window);
    if (!layer || !(window->WindowExStyle() & WS_EX_LAYERED)) return 255;
    if (!GetBackend().Supports(Capability::TranslucentWindows)) return 255;
    if (layer->Picture) return layer->PictureAlpha;
    return layer->AttributesSet ? layer->Alpha : 255;
}

}  // namespace ui::detail
