// Window regions: the shape a window shows and takes the mouse in.
#include "platform/rtl/Handles.h"
#include "platform/ui/GdiObjects.h"
#include "platform/ui/WindowLayers.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/backend/Backend.h"

namespace {

TWinControl* LiveWindow(HWND hwnd) {
    TWinControl* w = FindControl(hwnd);
    return w && w->HandleAllocated() ? w : nullptr;
}

}  // namespace

int SetWindowRgn(HWND hwnd, HRGN rgn, BOOL redraw) {
    TWinControl* w = LiveWindow(hwnd);
    if (!w) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    ui::Region shape;
    if (rgn) {
        {
            ui::gdi::Access access;
            ui::gdi::GdiObject* o = ui::gdi::FindObject(access, rgn, ui::gdi::GdiObject::Region);
            if (!o) {
                SetLastError(ERROR_INVALID_HANDLE);
                return 0;
            }
            shape = o->region;
        }
        // The window owns the region now: the caller's handle names nothing any more.
        ui::gdi::Delete(reinterpret_cast<uintptr_t>(rgn), {ui::gdi::Kind::Region});
    }
    ui::detail::WindowLayer& layer = ui::detail::LayerOf(w);
    layer.Shaped = rgn != nullptr;
    layer.Shape = std::move(shape);
    if (ui::WidgetPeer* peer = w->Peer()) {
        peer->SetShape(layer.Shaped ? &layer.Shape.Rects() : nullptr);
        if (redraw) peer->Update(Rect(0, 0, w->Width(), w->Height()));
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN rgn) {
    TWinControl* w = LiveWindow(hwnd);
    const ui::detail::WindowLayer* layer = w ? ui::detail::FindLayer(w) : nullptr;
    if (!layer || !layer->Shaped) return ERROR;
    ui::gdi::Access access;
    ui::gdi::GdiObject* o = ui::gdi::FindObject(access, rgn, ui::gdi::GdiObject::Region);
    if (!o) return ERROR;
    o->region = layer->Shape;
    return ui::gdi::RegionType(o->region);
}
