#include "platform/ui/testing/ShownWindows.h"

#include "platform/ui/WindowLayers.h"
#include "platform/ui/backend/Backend.h"

namespace ui::test {

namespace {

struct Canvas {
    int Width, Height;
    std::vector<uint32_t> Colors;  // 0x00RRGGBB
    std::vector<bool> Shown;
};

// The window's painting at (ox, oy) of the root, inside clip (root coordinates), and the
// windows in it inside its client area.
void PaintWindow(TWinControl* w, int ox, int oy, const Region& clip, Canvas& out) {
    Region own = clip & Region(Bounds(ox, oy, w->Width(), w->Height()));
    if (const detail::WindowLayer* layer = detail::FindLayer(w); layer && layer->Shaped)
        own = own & layer->Shape.Translated(ox, oy);
    TBitmap* image = w->BackingImage();
    if (!image || own.IsEmpty()) return;
    for (const TRect& r : own.Rects())
        for (int y = r.Top; y < r.Bottom; ++y) {
            const auto* row = static_cast<const uint8_t*>(image->ScanLine(y - oy));
            for (int x = r.Left; x < r.Right; ++x) {
                const uint8_t* p = row + static_cast<size_t>(x - ox) * 4;
                size_t at = static_cast<size_t>(y) * static_cast<size_t>(out.Width) + static_cast<size_t>(x);
                out.Colors[at] = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
                out.Shown[at] = true;
            }
        }
    TRect area = w->ClientArea();
    Region inside = own & Region(OffsetRectBy(area, ox, oy));
    for (int i = 0; i < w->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(w->Controls(i));
        if (!child || !child->HandleAllocated() || !child->Visible() || child->IsPopup()) continue;
        PaintWindow(child, ox + area.Left + child->Left(), oy + area.Top + child->Top(), inside, out);
    }
}

void PaintAll(TWinControl* w) {
    w->Update();
    for (int i = 0; i < w->ControlCount(); ++i)
        if (auto* c = dynamic_cast<TWinControl*>(w->Controls(i))) PaintAll(c);
}

uint32_t Times(uint32_t channel, uint32_t alpha) { return (channel * alpha + 127) / 255; }

}  // namespace

TColor ShownPicture::Over(int x, int y, TColor background) const {
    uint32_t p = At(x, y), a = p >> 24;
    auto bg = static_cast<uint32_t>(background);
    uint32_t r = ((p >> 16) & 0xFF) + Times(bg & 0xFF, 255 - a);
    uint32_t g = ((p >> 8) & 0xFF) + Times((bg >> 8) & 0xFF, 255 - a);
    uint32_t b = (p & 0xFF) + Times((bg >> 16) & 0xFF, 255 - a);
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

ShownPicture ShownImage(HWND window) {
    ShownPicture shown;
    TWinControl* w = FindControl(window);
    if (!w || !w->HandleAllocated()) return shown;
    PaintAll(w);
    shown.Width = w->Width();
    shown.Height = w->Height();
    size_t count = static_cast<size_t>(shown.Width) * static_cast<size_t>(shown.Height);
    shown.Pixels.assign(count, 0);
    const detail::WindowLayer* layer = detail::FindLayer(w);
    bool translucent = (w->WindowExStyle() & WS_EX_LAYERED) && GetBackend().Supports(Capability::TranslucentWindows);
    uint32_t alpha = ShownOpacity(window);
    Region all(Rect(0, 0, shown.Width, shown.Height));
    if (translucent && layer && layer->Picture) {
        // The layered picture, premultiplied, times its constant opacity, cut to the region.
        Region cut = layer->Shaped ? all & layer->Shape : all;
        TBitmap& picture = *layer->Picture;
        for (const TRect& r : cut.Rects())
            for (int y = r.Top; y < r.Bottom && y < picture.Height(); ++y) {
                const auto* row = static_cast<const uint8_t*>(picture.ScanLine(y));
                for (int x = r.Left; x < r.Right && x < picture.Width(); ++x) {
                    const uint8_t* p = row + static_cast<size_t>(x) * 4;
                    shown.Pixels[static_cast<size_t>(y) * static_cast<size_t>(shown.Width) + static_cast<size_t>(x)] =
                        Times(p[0], alpha) | (Times(p[1], alpha) << 8) | (Times(p[2], alpha) << 16) | (Times(p[3], alpha) << 24);
                }
            }
        return shown;
    }
    Canvas canvas{shown.Width, shown.Height, std::vector<uint32_t>(count, 0), std::vector<bool>(count, false)};
    PaintWindow(w, 0, 0, all, canvas);
    for (size_t i = 0; i < count; ++i) {
        if (!canvas.Shown[i]) continue;
        uint32_t c = canvas.Colors[i];
        shown.Pixels[i] = Times(c & 0xFF, alpha) | (Times((c >> 8) & 0xFF, alpha) << 8) |
                          (Times((c >> 16) & 0xFF, alpha) << 16) | (alpha << 24);
    }
    return shown;
}

BYTE ShownOpacity(HWND window) {
    TWinControl* w = FindControl(window);
    return w ? detail::ShownAlpha(w) : 255;
}

bool TookActivation(HWND window) {
    TWinControl* w = FindControl(window);
    const detail::WindowLayer* layer = w ? detail::FindLayer(w) : nullptr;
    return layer && layer->Activated;
}

}  // namespace ui::test
