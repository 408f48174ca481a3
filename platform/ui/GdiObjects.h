#pragma once
// Private to the drawing calls: the GDI objects (regions, pens, brushes, fonts) behind handles.
// Pens, brushes and fonts are held as the layer's own objects, which selecting assigns.
#include <initializer_list>
#include <memory>

#include "platform/ui/GdiHandles.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/Region.h"

namespace ui::gdi {

struct GdiObject {
    enum Type { Region, Brush, Pen, Font } type = Region;
    ui::Region region;
    std::shared_ptr<TBrush> brush;
    std::shared_ptr<TPen> pen;
    std::shared_ptr<TFont> font;
    bool stock = false;     // never freed
    bool snapshot = false;  // made by SelectObject to bring back what was selected; freed when it is
};

// Every kind DeleteObject frees.
inline constexpr std::initializer_list<Kind> kObjectKinds = {Kind::Bitmap, Kind::Region, Kind::Brush, Kind::Pen,
                                                             Kind::Font};

// A handle for a new object, owned by the registry.
void* NewObject(GdiObject o);
void* NewBrush(TColor color, TBrushStyle style, bool stock = false);
HRGN NewRegion(ui::Region region);
// The object of that type behind a handle; valid while the access lives.
GdiObject* FindObject(const Access& access, const void* handle, GdiObject::Type type);
// The colour a brush handle fills with: false for a clear brush or no brush. The platform also
// takes a system colour index + 1 in place of a brush.
bool BrushColor(HBRUSH brush, TColor& color);

// The clip region's type, as the region calls answer it.
inline int RegionType(const ui::Region& r) {
    if (r.IsEmpty()) return NULLREGION;
    return r.RectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace ui::gdi
